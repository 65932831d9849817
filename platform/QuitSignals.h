#pragma once

#include <functional>
#include <juce_events/juce_events.h>

/** The session's requests to end a windowed program while it runs: SIGTERM (a logout, a
    service manager, kill) and SIGHUP (the terminal it was started from closed), which
    would otherwise end it on the spot, in the middle of writing a device's flash. Each
    is handed to the message thread instead, so that the program ends as its window's
    close button ends it. On Linux; elsewhere the system asks through the window, which
    JUCE already turns into a request to quit.

    Message thread: made once the message manager runs, gone before it goes. One at a
    time in a process; signal handlers are process-wide.
*/
class QuitSignals
{
public:
    explicit QuitSignals (std::function<void()> onQuitRequested);
    ~QuitSignals();

private:
    void drain();

    std::function<void()> onQuit;
    int readEnd = -1;
    int writeEnd = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuitSignals)
};
