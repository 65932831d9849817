#include "sim/SimulatedLink.h"

#include <algorithm>

#if defined (__linux__)
 #include <sys/prctl.h>
#endif

SimulatedLink::SimulatedLink (double rate, int replyLatencyMs)
    : bytesPerSecond (rate),
      replyLatency (std::max (0, replyLatencyMs))
{
}

bool SimulatedLink::receive (size_t numBytes)
{
    return occupyWire (inboundFreeAt, numBytes);
}

bool SimulatedLink::awaitReplyLatency()
{
    // Waited out together with the answer's own wire time: every wait ends a little
    // late, and on a fast link two of them per exchange would show.
    replyNotBefore = Clock::now() + replyLatency;
    return waitUntil (Clock::now());
}

bool SimulatedLink::transmit (size_t numBytes)
{
    return occupyWire (outboundFreeAt, numBytes, replyNotBefore);
}

void SimulatedLink::cancel()
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        cancelled = true;
    }

    cancelledChanged.notify_all();
}

bool SimulatedLink::occupyWire (Clock::time_point& wireFreeAt, size_t numBytes, Clock::time_point notBefore)
{
    const auto start = std::max ({ Clock::now(), wireFreeAt, notBefore });

    if (bytesPerSecond <= 0.0)
        return waitUntil (start);

    const auto onWire = std::chrono::duration<double> ((double) numBytes / bytesPerSecond);
    wireFreeAt = start + std::chrono::duration_cast<Clock::duration> (onWire);
    return waitUntil (wireFreeAt);
}

bool SimulatedLink::waitUntil (Clock::time_point deadline)
{
#if defined (__linux__)
    // The kernel lets a timed wait end up to 50 us late by default; on a USB link's
    // 1 ms exchanges the device's own lateness would then pass for the host's.
    static thread_local const bool precise = prctl (PR_SET_TIMERSLACK, 1UL) == 0;
    (void) precise;
#endif

    std::unique_lock<std::mutex> lock (mutex);
    cancelledChanged.wait_until (lock, deadline, [this] { return cancelled; });
    return ! cancelled;
}
