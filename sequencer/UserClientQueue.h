#pragma once

#include "sequencer/SequencerEvent.h"

#include <deque>
#include <mutex>
#include <utility>
#include <vector>

/** The events waiting for one user client, as the kernel's input FIFO holds them:
    bounded, and an event that finds it full is dropped and reported once as an
    overflow. For each item queued (an event, or an overflow report) one byte is
    written to the doorbell socket, so that the client's end of it is readable exactly
    while items wait; the client reads a byte before it takes an item.
*/
class UserClientQueue
{
public:
    static constexpr std::size_t capacity = 1000;

    /** doorbell: a non-blocking socket, not owned; its buffer holds capacity + 1 bytes. */
    explicit UserClientQueue (int doorbell) noexcept;

    /** Called by the kernel, on the sending client's thread. */
    void push (const SequencerEvent& event);

    /** Takes up to count items: (0, event) or (-ENOSPC, nothing) for an overflow, and
        no more events than fit in variableBytes together (at least one). Called on the
        client's connection thread.
    */
    std::vector<std::pair<int, SequencerEvent>> take (int count, std::size_t variableBytes);

private:
    void ring();

    const int doorbell;

    // Guards the events and the overflow flag: the kernel pushes on senders' threads,
    // the connection's thread takes.
    std::mutex lock;
    std::deque<SequencerEvent> events;
    bool overflowed = false;
};
