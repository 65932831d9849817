#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/** Runs long steps on their workers while the main thread, which is JUCE's message
    thread here, keeps handling messages and watches for Ctrl-C.
*/
struct StepRunner
{
    /** What the main thread needs of the workers it waits for. */
    struct Workers
    {
        /** True while any worker still runs; may also hand on what the workers finished. */
        std::function<bool()> areRunning;
        /** Tells every worker to exit, as closing the wizard's window tells it. */
        std::function<void()> stop;
        /** Sleeps until a worker ends or the time in milliseconds has passed. */
        std::function<void (int)> waitFor;
    };

    /** Main thread. Returns once every worker has ended. On Ctrl-C the workers are told to
        exit and are still waited for: every wait of a worker wakes up within about a
        second of that, and a worker that drives a device must close its ports before the
        program ends.

        Returns false when Ctrl-C came before the workers ended.
    */
    static bool runUntilEnded (const Workers& workers);

    /** Main thread. Starts worker and runs until it has ended, as runUntilEnded does. */
    static bool run (juce::Thread& worker);

    static constexpr int pollMs = 20;
};
