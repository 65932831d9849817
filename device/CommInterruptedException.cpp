#include "device/CommInterruptedException.h"

CommInterruptedException::CommInterruptedException() noexcept
    : CommHostException (NoResponse)
{
}

const char* CommInterruptedException::what() const noexcept
{
    return "The update was interrupted";
}

void CommInterruptedException::throwIfThreadShouldExit()
{
    if (juce::Thread::currentThreadShouldExit())
        throw CommInterruptedException();
}
