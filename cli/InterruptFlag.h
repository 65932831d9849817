#pragma once

/** Ctrl-C, as the main thread sees it: the signal handler only raises a flag, and
    whatever waits polls it.
*/
struct InterruptFlag
{
    /** Main thread, before any other thread is started. */
    static void install();

    /** Any thread. True once SIGINT has arrived. */
    static bool isRaised() noexcept;
};
