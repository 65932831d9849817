#pragma once

#include <juce_core/juce_core.h>

/** Ends the process with exit code 1 when it is still alive timeoutMs after this was
    made and this has not been destroyed: the last resort against a demo run that
    hangs, even with the message thread stuck. Made and destroyed on the message thread.
*/
class ExitWatchdog : private juce::Thread
{
public:
    explicit ExitWatchdog (int timeoutMs);
    ~ExitWatchdog() override;

private:
    void run() override;

    const int timeoutMs;
    juce::WaitableEvent released;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ExitWatchdog)
};
