#include "cli/StepRunner.h"

#include "cli/InterruptFlag.h"

#include <juce_events/juce_events.h>

#include "handover/SystemQueue.h"

bool StepRunner::run (juce::Thread& worker)
{
    worker.startThread();
    bool interrupted = false;

    while (worker.isThreadRunning())
    {
        if (! interrupted && InterruptFlag::isRaised())
        {
            worker.signalThreadShouldExit();
            interrupted = true;
        }

        // Messages as they come; between them the thread waits on the worker rather than
        // waking every millisecond, as JUCE's timed dispatch loop does.
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            worker.waitForThreadToExit (pollMs);
    }

    return ! interrupted;
}
