#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Runs the page's modal loop as the controller does; a loop still running after
    limitMs is ended with -1, so that a broken hand-shake fails a test instead of
    hanging it.
*/
inline int runModalLoopWithLimit (juce::Component& page, int limitMs = 10000)
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

/** Lets the message thread handle what has been posted to it. */
inline void dispatchPendingMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
}
