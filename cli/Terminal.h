#pragma once

#include <optional>

/** What the command line needs of the system's terminal, the same on Linux and
    Windows: whether the standard streams are a terminal, and reading the answer to a
    question without blocking past a Ctrl-C. Main thread.
*/
struct Terminal
{
    /** At the start, before anything is written: on Windows the console is told that
        the output is UTF-8 and that it may redraw a line with escape sequences, until
        the program exits. Elsewhere there is nothing to do.
    */
    static void prepare();

    /** True when standard input is a terminal, where a question can be answered. */
    static bool inputIsTerminal();

    /** True when standard output is a terminal that redraws a line as told. */
    static bool outputIsTerminal();

    struct Size
    {
        int columns = 0;
        int rows = 0;
    };

    /** The size of the terminal standard output is drawn on, when it tells one. Asked
        afresh each time: the user may resize the window while the client runs.
    */
    static std::optional<Size> outputSize();

    /** Waits up to waitMs for standard input: true when a read would not wait long
        (input came, or it ended), false when the time ran out or a signal came.
    */
    static bool waitForInput (int waitMs);

    /** The next byte of standard input, or -1 at its end or on an error. */
    static int readByte();
};
