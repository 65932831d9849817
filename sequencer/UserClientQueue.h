#pragma once

#include "sequencer/SequencerEvent.h"

#include <deque>
#include <mutex>
#include <utility>
#include <vector>

/** The events waiting for one user client, as the kernel's input FIFO holds them:
    bounded, and an event that finds it full is dropped and reported once as an
    overflow.

    The doorbell socket's other end is what the client polls: it holds one byte while
    items (events, or an overflow report) wait, and none once they have all been taken.
    The client reads that byte before it takes; a take that leaves items behind rings
    again, and the next push after the queue has been emptied rings anew.
*/
class UserClientQueue
{
public:
    static constexpr std::size_t capacity = 1000;

    /** doorbell: a non-blocking socket, not owned. */
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

    // Guards the events and both flags: the kernel pushes on senders' threads, the
    // connection's thread takes.
    std::mutex lock;
    std::deque<SequencerEvent> events;
    bool overflowed = false;
    bool rung = false;
};
