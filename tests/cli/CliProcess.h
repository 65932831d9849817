#pragma once

#include <juce_core/juce_core.h>

#include <csignal>
#include <optional>
#include <sys/types.h>

/** A pseudo-terminal's size; 0 by 0 is one that tells none, as a new one. */
struct PseudoTerminalSize
{
    unsigned short columns = 80;
    unsigned short rows = 24;
};

/** quillon-cli, run by a test as a user or a script runs it: in a process of its own,
    standard input empty (not a terminal) or a terminal the test types into, its output
    read back separately, from a pipe or from the terminal it is drawn on. Every wait is bounded; a process still running when this goes
    is killed.

    One test thread drives it.
*/
class CliProcess
{
public:
    /** Where standard input comes from. */
    enum class Input
    {
        empty,      // /dev/null, as in a script
        terminal    // a pseudo-terminal, as a user at a keyboard
    };

    /** Where standard output goes. */
    enum class Output
    {
        pipe,       // as in a script, or into a file
        terminal    // a pseudo-terminal, the same as Input::terminal's when both are
    };

    using TerminalSize = PseudoTerminalSize;

    /** Starts program, from beside the test program, with arguments. */
    explicit CliProcess (const juce::StringArray& arguments, Input input = Input::empty, Output output = Output::pipe,
                         const char* program = defaultProgram, TerminalSize size = {});
    ~CliProcess();

    /** Reads until text appears in standard output, the process ends or timeoutMs pass;
        returns whether text appeared.
    */
    bool waitForOutput (const juce::String& text, int timeoutMs);

    /** Types text and Return at the terminal; only with Input::terminal. */
    void typeLine (const juce::String& text);

    /** Ctrl-C (SIGINT) to the process, or the signal given. */
    void interrupt (int signal = SIGINT);

    /** Reads to the end of the process and returns its exit code; nothing when it has
        not ended within timeoutMs (or ended by a signal).
    */
    std::optional<int> waitForExit (int timeoutMs);

    juce::String getOutput() const;
    juce::String getErrors() const;

    /** A whole run: the exit code (-1 when it did not end in time) and both outputs. */
    struct Result
    {
        int exitCode;
        juce::String output;
        juce::String errors;
    };

    static Result run (const juce::StringArray& arguments, int timeoutMs = defaultTimeoutMs,
                       Output output = Output::pipe, const char* program = defaultProgram, TerminalSize size = {});

    /** Far more than any command takes, even a whole update at MIDI speed. */
    static constexpr int defaultTimeoutMs = 60000;

    static constexpr const char* defaultProgram = "quillon-cli";

private:
    // Reads what is there, waiting up to waitMs; false once both outputs have closed.
    bool readSome (int waitMs);

    pid_t pid = -1;
    int terminal = -1;      // the pseudo-terminal's side this process writes to
    int outputPipe = -1;
    int errorPipe = -1;
    juce::MemoryOutputStream output;
    juce::MemoryOutputStream errors;
    std::optional<int> exitCode;

    JUCE_DECLARE_NON_COPYABLE (CliProcess)
};
