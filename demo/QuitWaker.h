#pragma once

#include <juce_events/juce_events.h>

/** Ends the application's message loop, also where JUCE 7.0.5 on Linux would not.

    Its Linux event loop keeps the callbacks of one pass in a member that nested modal
    loops clear. A pass in which a nested loop has ended therefore reports that it
    dispatched nothing, and the loop goes back to sleep before it looks at the quit
    flag; a quit requested in that pass (the demo's autopilot presses "Done" right
    after the programming page's modal loop) would then sleep for ever, since nothing
    can be posted after a quit. Writing to a pipe that the loop watches wakes it for
    one more pass, which sees the quit. Elsewhere quitting is all it does.

    Made, used and destroyed on the message thread, while the message loop exists.
*/
class QuitWaker
{
public:
    QuitWaker();
    ~QuitWaker();

    /** JUCEApplication::quit(), then a wake-up for the message loop. */
    void quit();

private:
#if JUCE_LINUX
    int pipeEnds[2] { -1, -1 };
#endif

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuitWaker)
};
