#include "sequencer/UserClientQueue.h"

#include "sequencer/wire/WireBuffer.h"
#include "sequencer/wire/WireProtocol.h"

#include <sys/socket.h>

UserClientQueue::UserClientQueue (int s) noexcept
    : socket (s)
{
}

void UserClientQueue::push (const SequencerEvent& event)
{
    const std::lock_guard<std::mutex> sl (sending);

    WireBuffer message;
    message.addInt (overflowed ? wire::afterOverflow : wire::inOrder).addEvent (event);
    const auto& bytes = message.getBytes();

    // A full queue (EAGAIN) loses the event; so does a client that has gone (EPIPE),
    // which no longer reads anything.
    overflowed = ::send (socket, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) != (ssize_t) bytes.size();
}
