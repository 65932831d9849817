#include "catalogue/DownloadWatchdog.h"

DownloadWatchdog::DownloadWatchdog (juce::WebInputStream& streamToWatch, std::function<bool()> shouldAbortTest)
    : juce::Thread ("Download watchdog"),
      stream (streamToWatch),
      shouldAbort (std::move (shouldAbortTest))
{
    startThread();
}

DownloadWatchdog::~DownloadWatchdog()
{
    finish();
}

bool DownloadWatchdog::finish()
{
    // The watchdog never blocks for long: a poll, or a cancel that takes the stream's lock.
    stopThread (-1);
    return cancelled;
}

void DownloadWatchdog::run()
{
    // The first look comes after one interval, so that a download that answers at
    // once still stores its first chunk before it stops.
    while (! wait (pollIntervalMs) && ! threadShouldExit())
    {
        if (shouldAbort())
        {
            cancelled = true;
            stream.cancel();
            return;
        }
    }
}
