#pragma once

/** How long the message thread waits for a worker of the wizard. */
struct WorkerTimeouts
{
    /** After a worker's page has left its modal loop, the time it has to end by itself. */
    static constexpr int graceMs = 1000;

    /** The bound on stopping a worker that has been told to exit. Every wait of a worker
        wakes up within about a second of that, so this is never reached unless
        something is badly wrong; JUCE then kills the thread rather than hang the window.
    */
    static constexpr int stopMs = 5000;
};
