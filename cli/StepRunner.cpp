#include "cli/StepRunner.h"

#include "cli/InterruptFlag.h"

#include <juce_events/juce_events.h>

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

        juce::MessageManager::getInstance()->runDispatchLoopUntil (pollMs);
    }

    return ! interrupted;
}
