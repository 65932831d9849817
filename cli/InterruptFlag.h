#pragma once

/** Ctrl-C, as the main thread sees it: the signal handler only raises a flag, and
    whatever waits polls it.
*/
struct InterruptFlag
{
    /** Main thread, before any other thread is started. */
    static void install();

    /** Any thread. True once Ctrl-C has arrived: SIGINT, or on Windows the console's
        Ctrl-C or Ctrl-Break.
    */
    static bool isRaised() noexcept;
};
