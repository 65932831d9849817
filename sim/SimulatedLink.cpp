#include "sim/SimulatedLink.h"

#include <algorithm>
#include <thread>

#if defined (__linux__)
 #include <sys/prctl.h>
#endif

SimulatedLink::SimulatedLink (double rate, int replyLatencyMs)
    : bytesPerSecond (rate),
      replyLatency (std::max (0, replyLatencyMs))
{
}

bool SimulatedLink::receive (size_t numBytes, std::chrono::microseconds sentAgo)
{
    // Not waited for here but by the answer, in one wait with its latency and its own
    // wire time: every wait ends a little late, and on a fast link three of them per
    // exchange would show as the host's time. The host cannot tell: nothing the device
    // does reaches it before that answer. For the same reason the message is on the
    // wire from the moment it was sent, not from when this thread woke up to take it.
    takenLate = std::max (sentAgo, std::chrono::microseconds());
    inboundFreeAt = std::max (Clock::now() - takenLate, inboundFreeAt) + wireTimeOf (numBytes);
    return ! cancelled;
}

bool SimulatedLink::awaitReplyLatency()
{
    replyNotBefore = std::max (Clock::now() - takenLate, inboundFreeAt) + replyLatency;
    return ! cancelled;
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
    // The kernel lets a timed wait end up to 50 us late by default, which would often
    // use up the time left for yielding below.
    static thread_local const bool precise = prctl (PR_SET_TIMERSLACK, 1UL) == 0;
    (void) precise;
#endif

    {
        std::unique_lock<std::mutex> lock (mutex);

        if (cancelledChanged.wait_until (lock, deadline - yieldingBeforeDeadline, [this] { return cancelled.load(); }))
            return false;
    }

    // A timed wait on a virtual machine ends about 100 us late on average, and on a USB
    // link's 1 ms exchanges the device's lateness would pass for the host's. A device
    // keeps its own time, so the last stretch is spent yielding instead of sleeping,
    // and its very end spinning, as a yield too can come back late.
    while (Clock::now() < deadline - spinningBeforeDeadline && ! cancelled)
        std::this_thread::yield();

    while (Clock::now() < deadline && ! cancelled)
        continue;

    return ! cancelled;
}
