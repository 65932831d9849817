#include "tests/support/PollingTrigger.h"

PollingTrigger::PollingTrigger (std::function<bool()> conditionToWaitFor, std::function<void()> actionToRun)
    : condition (std::move (conditionToWaitFor)), action (std::move (actionToRun))
{
    startTimer (5);
}

PollingTrigger::~PollingTrigger()
{
    stopTimer();
}

void PollingTrigger::timerCallback()
{
    if (! condition())
        return;

    stopTimer();
    action();
}
