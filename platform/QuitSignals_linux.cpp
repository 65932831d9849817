#include "platform/QuitSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
    // All a handler may do is write: the byte wakes the message loop, which does the rest.
    std::atomic<int> signalledEnd { -1 };
    static_assert (std::atomic<int>::is_always_lock_free);

    constexpr int quitSignals[] = { SIGTERM, SIGHUP };

    void onQuitSignal (int)
    {
        const auto savedErrno = errno;
        const char byte = 1;
        [[maybe_unused]] const auto written = write (signalledEnd.load(), &byte, 1);
        errno = savedErrno;
    }

    void handleQuitSignals (void (*handler) (int))
    {
        struct sigaction action = {};
        action.sa_handler = handler;
        action.sa_flags = SA_RESTART;
        sigemptyset (&action.sa_mask);

        for (const auto signal : quitSignals)
            sigaction (signal, &action, nullptr);
    }
}

QuitSignals::QuitSignals (std::function<void()> onQuitRequested)
    : onQuit (std::move (onQuitRequested))
{
    int ends[2];

    if (pipe2 (ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;

    readEnd = ends[0];
    writeEnd = ends[1];
    signalledEnd.store (writeEnd);
    juce::LinuxEventLoop::registerFdCallback (readEnd, [this] (int) { drain(); });
    handleQuitSignals (onQuitSignal);
}

QuitSignals::~QuitSignals()
{
    if (readEnd < 0)
        return;

    handleQuitSignals (SIG_DFL);
    signalledEnd.store (-1);
    juce::LinuxEventLoop::unregisterFdCallback (readEnd);
    close (readEnd);
    close (writeEnd);
}

// Several signals before the loop woke are one request.
void QuitSignals::drain()
{
    char bytes[16];
    bool requested = false;

    while (read (readEnd, bytes, sizeof (bytes)) > 0)
        requested = true;

    if (requested)
        onQuit();
}
