#include "sequencer/UserClientQueue.h"

#include <cerrno>
#include <sys/socket.h>

UserClientQueue::UserClientQueue (int d) noexcept
    : doorbell (d)
{
}

void UserClientQueue::ring()
{
    const char waiting = 1;
    ::send (doorbell, &waiting, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    rung = true;
}

void UserClientQueue::push (const SequencerEvent& event)
{
    const std::lock_guard<std::mutex> sl (lock);

    if (events.size() < capacity)
        events.push_back (event);
    else
        overflowed = true;

    if (! rung)
        ring();
}

std::vector<std::pair<int, SequencerEvent>> UserClientQueue::take (int count, std::size_t variableBytes)
{
    std::vector<std::pair<int, SequencerEvent>> items;
    const std::lock_guard<std::mutex> sl (lock);

    // The overflow is reported before what is still queued, as the kernel reports it
    // on the next read.
    if (overflowed && count > 0)
    {
        overflowed = false;
        items.emplace_back (-ENOSPC, SequencerEvent {});
        --count;
    }

    std::size_t taken = 0;

    for (; count > 0 && ! events.empty(); --count)
    {
        taken += events.front().variable.size();

        if (taken > variableBytes && ! items.empty())
            break;

        items.emplace_back (0, std::move (events.front()));
        events.pop_front();
    }

    rung = false;

    if (! events.empty() || overflowed)
        ring();

    return items;
}
