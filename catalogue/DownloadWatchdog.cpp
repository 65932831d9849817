#include "catalogue/DownloadWatchdog.h"

DownloadWatchdog::DownloadWatchdog (juce::WebInputStream& streamToWatch, std::function<bool()> shouldAbortTest,
                                    Clock::time_point deadlineToKeep)
    : juce::Thread ("Download watchdog"),
      stream (streamToWatch),
      shouldAbort (std::move (shouldAbortTest)),
      deadline (deadlineToKeep)
{
    startThread();
}

DownloadWatchdog::~DownloadWatchdog()
{
    finish();
}

DownloadWatchdog::Ending DownloadWatchdog::finish()
{
    // The watchdog never blocks for long: a poll, or a cancel that takes the stream's lock.
    stopThread (-1);
    return ending;
}

void DownloadWatchdog::run()
{
    // The first look comes after one interval, so that a download that answers at
    // once still stores its first chunk before it stops.
    while (! wait (pollIntervalMs) && ! threadShouldExit())
    {
        if (const auto now = endingNow(); now != Ending::notCancelled)
        {
            ending = now;
            stream.cancel();
            return;
        }
    }
}

DownloadWatchdog::Ending DownloadWatchdog::endingNow() const
{
    if (shouldAbort())
        return Ending::aborted;

    return Clock::now() >= deadline ? Ending::deadlinePassed : Ending::notCancelled;
}
