#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A turn at the display's keyboard focus, for a test whose components must take the
    focus: JUCE lets a component take it only while its window has the display's focus.
    Tests in other processes on the same virtual display take the focus for their own
    windows; the tests that need it take turns, through a lock shared between processes,
    for as long as one of these lives. Message thread.
*/
class DisplayFocus
{
public:
    /** Waits up to a minute for the turn; isHeld() says whether it came. */
    DisplayFocus();
    ~DisplayFocus();

    bool isHeld() const noexcept { return held; }

    /** Gives window's peer the display's focus, as a user's click on it would, and lets
        the peer hear of it; false when it does not get it.
    */
    static bool focus (juce::Component& window);

private:
    juce::InterProcessLock lock { "quillon-tests-display-focus" };
    const bool held;

    JUCE_DECLARE_NON_COPYABLE (DisplayFocus)
};
