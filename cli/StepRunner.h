#pragma once

#include <juce_core/juce_core.h>

/** Runs one long step on its worker while the main thread, which is JUCE's message
    thread here, keeps handling messages and watches for Ctrl-C.
*/
struct StepRunner
{
    /** Main thread. Starts worker and returns once it has ended. On Ctrl-C the worker is
        told to exit, as closing the wizard's window tells it, and is still waited for:
        every wait of a worker wakes up within about a second of that, and a worker that
        drives a device must close its ports before the program ends.

        Returns false when Ctrl-C came before the worker ended.
    */
    static bool run (juce::Thread& worker);

    static constexpr int pollMs = 20;
};
