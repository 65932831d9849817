#include "demo/QuitWaker.h"

#if JUCE_LINUX
#include <unistd.h>
#endif

QuitWaker::QuitWaker()
{
#if JUCE_LINUX
    if (::pipe (pipeEnds) == 0)
        juce::LinuxEventLoop::registerFdCallback (pipeEnds[0], [] (int fd)
        {
            char wakeUp;
            [[maybe_unused]] const auto bytesRead = ::read (fd, &wakeUp, 1);
        });
#endif
}

QuitWaker::~QuitWaker()
{
#if JUCE_LINUX
    if (pipeEnds[0] >= 0)
    {
        juce::LinuxEventLoop::unregisterFdCallback (pipeEnds[0]);
        ::close (pipeEnds[0]);
        ::close (pipeEnds[1]);
    }
#endif
}

void QuitWaker::quit()
{
    juce::JUCEApplicationBase::quit();

#if JUCE_LINUX
    if (pipeEnds[1] >= 0)
    {
        const char wakeUp = 0;
        [[maybe_unused]] const auto bytesWritten = ::write (pipeEnds[1], &wakeUp, 1);
    }
#endif
}
