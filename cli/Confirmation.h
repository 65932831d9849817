#pragma once

#include <juce_core/juce_core.h>

/** The question asked before a device is updated, answered on the terminal. */
struct Confirmation
{
    enum class Answer
    {
        yes,
        no,
        interrupted     // Ctrl-C while waiting for the answer
    };

    /** Whether there is a person to ask: standard input is a terminal. A script piping
        its input in would answer a question it never saw.
    */
    static bool canAsk();

    /** When there is nobody to ask, says so on standard error, with how to go on
        without asking, and returns true.
    */
    static bool refuseWithoutTerminal();

    /** Main thread. Writes question and "[y/N]" to standard output, or to standard error
        when standard output carries JSON, and reads one line; only "y" or "yes" agree.
    */
    static Answer ask (const juce::String& question, bool toStandardError);
};
