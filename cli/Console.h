#pragma once

#include "cli/ExitCode.h"
#include "device/ports/MidiTrace.h"
#include "flow/UpdateOutcome.h"
#include "handover/ProgressReporter.h"
#include "handover/StatusReporter.h"

#include <juce_core/juce_core.h>

/** Where quillon-cli writes what the user reads: standard output, as text or as JSON.

    The workers' status texts and progress go to it as they go to the pages. On a
    terminal they are one line, redrawn in place, with a progress bar while a device is
    programmed; elsewhere each status is a line of its own and progress a percentage
    line; with JSON each is an object on a line of its own. Every status text also goes
    to the trace, when there is one.

    Everything written passes through TerminalText::keepingLayout(), so no control
    character but a line break or a tab reaches the terminal except the client's own
    sequences that redraw the live line; texts from outside are made visible() whole
    before they are laid out into lines. JSON carries them as they are, escaped.

    Any thread: the workers report while the main thread waits for them; outputLock
    keeps lines whole.
*/
class Console : public StatusReporter,
                public ProgressReporter
{
public:
    enum class Style
    {
        terminal,
        plain,
        json
    };

    /** stepsShown: whether statuses and progress are printed (the update), or only drawn
        on a terminal's line and cleared again (the lists, which print one result). trace
        may be null.
    */
    Console (Style style, bool stepsShown, MidiTrace* trace);

    /** A terminal when standard output is one, else plain; json when asked for. */
    static Style styleFor (bool json);

    void reportStatus (const juce::String& text) override;
    void reportProgress (double fraction) override;

    /** Ends the line of a step on a terminal; the next step starts with no progress. */
    void endStep();

    /** Text for the user, laid out by the client: its line breaks and tabs are kept,
        any other control character is made visible.
    */
    void print (const juce::String& text);

    /** "quillon-cli: " and message, on a line of standard error; as print() for its
        control characters. Any thread.
    */
    static void printError (const juce::String& message);

    /** text into the trace alone, when there is one: a status told apart by the
        caller, who shows it itself. Any thread.
    */
    void traceStatus (const juce::String& text);

    /** One JSON value: on one line when steps are shown (JSON lines), else laid out. */
    void printJson (const juce::var& value);

    /** The results page's caption and description, its body and the notes; or one
        JSON object "outcome" with them and the exit code. Also into the trace.
    */
    void printOutcome (const UpdateOutcome& outcome);

    bool isJson() const noexcept { return style == Style::json; }
    Style getStyle() const noexcept { return style; }

    /** The results page's body for outcome, as the terminal may be given it. */
    static juce::String visibleBodyOf (const UpdateOutcome& outcome);

    /** The outcome as JSON: result, caption, description, body, notes, exitCode. */
    static juce::var toJson (const UpdateOutcome& outcome);

private:
    void drawLiveLine();
    void write (const juce::String& text);
    static void writeControl (const char* sequence);
    static juce::String progressBar (double fraction);

    const Style style;
    const bool stepsShown;
    MidiTrace* const trace;

    juce::CriticalSection outputLock;

    // Guarded by outputLock: the step's latest status and progress (-1: none known),
    // the whole percentage printed last, and whether a terminal's live line is drawn.
    juce::String status;
    double progress = -1.0;
    int lastPercent = -1;
    bool liveLineDrawn = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Console)
};
