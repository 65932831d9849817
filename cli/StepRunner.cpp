#include "cli/StepRunner.h"

#include "cli/InterruptFlag.h"

#include <juce_events/juce_events.h>

#include "handover/SystemQueue.h"

bool StepRunner::runUntilEnded (const Workers& workers)
{
    bool interrupted = false;

    while (workers.areRunning())
    {
        if (! interrupted && InterruptFlag::isRaised())
        {
            workers.stop();
            interrupted = true;
        }

        // Messages as they come; between them the thread waits on the workers rather than
        // waking every millisecond, as JUCE's timed dispatch loop does.
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            workers.waitFor (pollMs);
    }

    return ! interrupted;
}

bool StepRunner::run (juce::Thread& worker)
{
    worker.startThread();

    return runUntilEnded ({ [&worker] { return worker.isThreadRunning(); },
                            [&worker] { worker.signalThreadShouldExit(); },
                            [&worker] (int ms) { worker.waitForThreadToExit (ms); } });
}
