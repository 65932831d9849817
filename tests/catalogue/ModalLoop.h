#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Runs the page's modal loop as the controller does; a loop still running after
    limitMs is ended with -1, so that a broken hand-shake fails a test instead of
    hanging it.
*/
inline int runModalLoopWithLimit (juce::Component& page, int limitMs = 10000)
{
    juce::Timer::callAfterDelay (limitMs, [safePage = juce::Component::SafePointer<juce::Component> (&page)]
    {
        if (safePage != nullptr)
            safePage->exitModalState (-1);
    });

    return page.runModalLoop();
}

/** Lets the message thread handle what has been posted to it. */
inline void dispatchPendingMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
}
