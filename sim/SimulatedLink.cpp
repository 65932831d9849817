#include "sim/SimulatedLink.h"

#include <algorithm>

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
    return waitUntil (Clock::now() + replyLatency);
}

bool SimulatedLink::transmit (size_t numBytes)
{
    return occupyWire (outboundFreeAt, numBytes);
}

void SimulatedLink::cancel()
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        cancelled = true;
    }

    cancelledChanged.notify_all();
}

bool SimulatedLink::occupyWire (Clock::time_point& wireFreeAt, size_t numBytes)
{
    if (bytesPerSecond <= 0.0)
        return waitUntil (Clock::now());

    const auto onWire = std::chrono::duration<double> ((double) numBytes / bytesPerSecond);
    wireFreeAt = std::max (Clock::now(), wireFreeAt) + std::chrono::duration_cast<Clock::duration> (onWire);
    return waitUntil (wireFreeAt);
}

bool SimulatedLink::waitUntil (Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock (mutex);
    cancelledChanged.wait_until (lock, deadline, [this] { return cancelled; });
    return ! cancelled;
}
