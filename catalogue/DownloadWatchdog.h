#pragma once

#include <atomic>
#include <functional>
#include <juce_core/juce_core.h>

/** Lets an abort reach a web request that is waiting for the network.

    A download asks its abort test only between chunks, but connecting, or reading
    from a server that has stopped sending, can block for as long as the request's
    time-out. While it lives, the watchdog asks the same test on a thread of its own
    every pollIntervalMs and cancels the stream once the test answers true, which
    wakes the waiting read within about a second.
*/
class DownloadWatchdog : private juce::Thread
{
public:
    /** Starts watching at once. shouldAbort is called on the watchdog's thread. */
    DownloadWatchdog (juce::WebInputStream& stream, std::function<bool()> shouldAbort);

    /** Stops watching, if finish() was not called. */
    ~DownloadWatchdog() override;

    /** Downloading thread: stops watching and returns whether the stream was cancelled. */
    bool finish();

    static constexpr int pollIntervalMs = 50;

private:
    void run() override;

    juce::WebInputStream& stream;
    const std::function<bool()> shouldAbort;

    // Written by the watchdog's thread, read by the downloading thread after finish().
    std::atomic<bool> cancelled { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DownloadWatchdog)
};
