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
    // Not waited for here but by the answer, in one wait with its latency and its own
    // wire time: every wait ends a little late, and on a fast link three of them per
    // exchange would show as the host's time. The host cannot tell: nothing the device
    // does reaches it before that answer.
    inboundFreeAt = std::max (Clock::now(), inboundFreeAt) + wireTimeOf (numBytes);
    return waitUntil (Clock::now());
}

bool SimulatedLink::awaitReplyLatency()
{
    replyNotBefore = std::max (Clock::now(), inboundFreeAt) + replyLatency;
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
    wireFreeAt = std::max ({ Clock::now(), wireFreeAt, notBefore }) + wireTimeOf (numBytes);
    return waitUntil (wireFreeAt);
}

SimulatedLink::Clock::duration SimulatedLink::wireTimeOf (size_t numBytes) const
{
    if (bytesPerSecond <= 0.0)
        return {};

    return std::chrono::duration_cast<Clock::duration> (std::chrono::duration<double> ((double) numBytes / bytesPerSecond));
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
