#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** The tests run on the message thread, so asynchronous notifications, posted clicks
    and hand-overs from workers reach them only while they run its loop. Every wait
    here is bounded, so that a broken hand-shake fails a test instead of hanging it.
*/
namespace MessageLoop
{
    /** Handles what reaches the message thread during the next milliseconds. */
    void dispatchFor (int milliseconds);

    /** Lets what is already posted arrive, and what that posts in turn. A pass that runs
        a modal loop returns only when the loop ends, so there are passes after it.
    */
    void dispatchPending();

    /** Runs the loop until condition holds or timeoutMs have passed; returns whether it holds. */
    bool dispatchUntil (const std::function<bool()>& condition, int timeoutMs = 5000);

    /** Clicks button the way a user's click does (asynchronously) and lets it arrive. */
    void click (juce::Button& button);

    /** Runs the page's modal loop as the controller does; a loop still running after
        limitMs is ended with -1.
    */
    int runModalLoopWithLimit (juce::Component& page, int limitMs = 10000);
}
