#pragma once

/** Ctrl-C, as the main thread sees it: the signal handler only raises a flag, and
    whatever waits polls it. A request to end the program (SIGTERM, or SIGHUP when its
    terminal closes) is taken as the same request.
*/
struct InterruptFlag
{
    /** Main thread, before any other thread is started. */
    static void install();

    /** Any thread. True once Ctrl-C has arrived: SIGINT, SIGTERM or SIGHUP, or on
        Windows the console's Ctrl-C or Ctrl-Break.
    */
    static bool isRaised() noexcept;
};
