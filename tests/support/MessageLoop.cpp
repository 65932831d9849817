#include "tests/support/MessageLoop.h"

namespace MessageLoop
{
    void dispatchFor (int milliseconds)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    void dispatchPending()
    {
        for (int pass = 0; pass < 3; ++pass)
            dispatchFor (20);
    }

    bool dispatchUntil (const std::function<bool()>& condition, int timeoutMs)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

        while (! condition())
        {
            if (juce::Time::getMillisecondCounter() >= end)
                return false;

            dispatchFor (5);
        }

        return true;
    }

    void click (juce::Button& button)
    {
        button.triggerClick();
        dispatchPending();
    }

    int runModalLoopWithLimit (juce::Component& page, int limitMs)
    {
        // Owned rather than Timer::callAfterDelay, whose timer outlives a loop that ends
        // in time and is never freed when the program ends before it fires.
        struct Limit : juce::Timer
        {
            explicit Limit (juce::Component& pageToEnd) : target (&pageToEnd) {}

            void timerCallback() override
            {
                stopTimer();

                if (target != nullptr)
                    target->exitModalState (-1);
            }

            juce::Component::SafePointer<juce::Component> target;
        };

        Limit limit (page);
        limit.startTimer (limitMs);
        return page.runModalLoop();
    }
}
