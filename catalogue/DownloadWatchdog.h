#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <juce_core/juce_core.h>

/** Lets an abort or a download's deadline reach a web request that is waiting for the
    network.

    A download asks its abort test only between chunks, but connecting, or reading
    from a server that has stopped sending, can block for as long as the request's
    time-out. While it lives, the watchdog asks the same test and looks at the clock
    on a thread of its own every pollIntervalMs, and cancels the stream once the test
    answers true or the deadline has passed, which wakes the waiting read within about
    a second.
*/
class DownloadWatchdog : private juce::Thread
{
public:
    using Clock = std::chrono::steady_clock;

    /** Why the stream was cancelled, if it was. */
    enum class Ending
    {
        notCancelled,
        aborted,
        deadlinePassed
    };

    /** Starts watching at once. shouldAbort is called on the watchdog's thread. */
    DownloadWatchdog (juce::WebInputStream& stream, std::function<bool()> shouldAbort, Clock::time_point deadline);

    /** Stops watching, if finish() was not called. */
    ~DownloadWatchdog() override;

    /** Downloading thread: stops watching and says whether, and why, the stream was cancelled. */
    Ending finish();

    static constexpr int pollIntervalMs = 50;

private:
    void run() override;
    Ending endingNow() const;

    juce::WebInputStream& stream;
    const std::function<bool()> shouldAbort;
    const Clock::time_point deadline;

    // Written by the watchdog's thread, read by the downloading thread after finish().
    std::atomic<Ending> ending { Ending::notCancelled };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DownloadWatchdog)
};
