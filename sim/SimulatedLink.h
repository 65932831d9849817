#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

/** The time a simulated device's messages take: a MIDI link of some byte rate, where a
    message of n bytes takes n / rate seconds in each direction and one message waits
    for the one ahead of it, and the device's own delay before it answers.

    An answer leaves once the request has fully come in, the delay has passed and the
    answers ahead of it are out, and reaches the host after its own wire time. The
    waits run on the device's delivery thread and make later deliveries wait, as a
    serial wire does. cancel, from any thread, ends every wait at once, for good.
*/
class SimulatedLink
{
public:
    SimulatedLink (double bytesPerSecond, int replyLatencyMs);

    /** Takes a message of numBytes that started arriving sentAgo ago, or once the one
        ahead of it was in. These return false when the link was cancelled.
    */
    bool receive (size_t numBytes, std::chrono::microseconds sentAgo);

    /** Starts the device's delay before an answer to the last message received. */
    bool awaitReplyLatency();

    /** Waits until a message of numBytes has fully gone out: sent once the link is free
        and the delay before an answer has passed.
    */
    bool transmit (size_t numBytes);

    void cancel();

private:
    using Clock = std::chrono::steady_clock;

    bool occupyWire (Clock::time_point& wireFreeAt, size_t numBytes, Clock::time_point notBefore = {});
    bool waitUntil (Clock::time_point deadline);
    Clock::duration wireTimeOf (size_t numBytes) const;

    const double bytesPerSecond;
    const std::chrono::milliseconds replyLatency;

    // Only the delivery thread uses these.
    Clock::time_point inboundFreeAt;
    Clock::time_point outboundFreeAt;
    Clock::time_point replyNotBefore;
    Clock::duration takenLate {};

    static constexpr std::chrono::microseconds yieldingBeforeDeadline { 300 };
    static constexpr std::chrono::microseconds spinningBeforeDeadline { 40 };

    // Set under mutex, so that a sleeping wait cannot miss it; read without it elsewhere.
    std::mutex mutex;
    std::condition_variable cancelledChanged;
    std::atomic<bool> cancelled { false };
};
