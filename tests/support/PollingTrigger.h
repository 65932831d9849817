#pragma once

#include <juce_events/juce_events.h>

#include <functional>

/** Runs an action once, on the message thread, as soon as a condition holds. The
    condition is polled every few milliseconds, also while a step's modal loop runs, so
    a test can act in the middle of a step it started with a click.
*/
class PollingTrigger : private juce::Timer
{
public:
    PollingTrigger (std::function<bool()> condition, std::function<void()> action);
    ~PollingTrigger() override;

private:
    void timerCallback() override;

    std::function<bool()> condition;
    std::function<void()> action;

    JUCE_DECLARE_NON_COPYABLE (PollingTrigger)
};
