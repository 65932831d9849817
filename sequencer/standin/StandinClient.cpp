#include "sequencer/standin/StandinClient.h"

#include "sequencer/SequencerServer.h"
#include "sequencer/wire/WireProtocol.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
    // What input_pending moves into the library's buffer, beyond one message.
    constexpr std::size_t maxHeldBytes = 64 * 1024;

    std::size_t sizeOfEvent (const SequencerEvent& event)
    {
        return sizeof (event.fixed) + event.variable.size();
    }

    int connectTo (const char* path)
    {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;

        if (path == nullptr || *path == 0 || std::strlen (path) >= sizeof (address.sun_path))
            return -1;

        std::strcpy (address.sun_path, path);
        const auto socket = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);

        if (socket >= 0 && ::connect (socket, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) != 0)
        {
            ::close (socket);
            return -1;
        }

        return socket;
    }
}

int StandinClient::open (std::unique_ptr<_snd_seq>& client)
{
    const auto socket = connectTo (std::getenv (SequencerServer::socketVariable));

    if (socket < 0)
        return -ENOENT;

    WireChannel greeting (socket);
    WireBuffer hello;
    int eventSocket = -1;
    std::int32_t number = -1;

    if (! greeting.receive (hello, &eventSocket) || ! hello.readInt (number) || number < 0 || eventSocket < 0)
    {
        if (eventSocket >= 0)
            ::close (eventSocket);

        return -ENOENT;
    }

    client = std::make_unique<_snd_seq> (::dup (socket), eventSocket, number);
    return 0;
}

StandinClient::StandinClient (int requestSocket, int events, int number)
    : eventSocket (events), clientNumber (number), requests (requestSocket), message (wire::maxFrameBytes)
{
}

StandinClient::~StandinClient()
{
    ::close (eventSocket);
}

int StandinClient::call (const WireBuffer& request, WireBuffer& reply)
{
    const std::lock_guard<std::mutex> sl (requestLock);
    std::int32_t result = 0;

    if (! requests.send (request) || ! requests.receive (reply) || ! reply.readInt (result))
        return -ENODEV;

    return result;
}

int StandinClient::output (const snd_seq_event_t& event)
{
    SequencerEvent sent { event, {} };

    if ((event.flags & SND_SEQ_EVENT_LENGTH_MASK) != SND_SEQ_EVENT_LENGTH_FIXED)
    {
        const auto size = (std::size_t) event.data.ext.len;

        if (size > wire::maxVariableBytes)
            return -ENOMEM;

        if (size > 0 && event.data.ext.ptr == nullptr)
            return -EINVAL;

        const auto* bytes = static_cast<const std::uint8_t*> (event.data.ext.ptr);
        sent.variable.assign (bytes, bytes + size);
    }

    WireBuffer request, reply;
    request.addInt ((std::int32_t) wire::Request::output).addEvent (sent);
    return call (request, reply);
}

int StandinClient::receive (bool mayWait)
{
    iovec part { message.data(), message.size() };
    msghdr header {};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    ssize_t size = 0;

    do
        size = ::recvmsg (eventSocket, &header, mayWait && ! nonblocking ? 0 : MSG_DONTWAIT);
    while (size < 0 && errno == EINTR);

    if (size < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK ? -EAGAIN : -errno;

    // The broker never sends an empty message: this is the end of the socket.
    if (size == 0)
        return -ENODEV;

    WireBuffer received ({ message.begin(), message.begin() + size });
    std::int32_t mark = 0;
    ReceivedEvent next;

    if ((header.msg_flags & MSG_TRUNC) != 0 || ! received.readInt (mark) || ! received.readEvent (next.event)
         || (mark != wire::inOrder && mark != wire::afterOverflow))
        return -EIO;

    next.afterOverflow = mark == wire::afterOverflow;
    heldBytes += sizeOfEvent (next.event);
    held.push_back (std::move (next));
    return 0;
}

int StandinClient::input (snd_seq_event_t** event)
{
    const std::lock_guard<std::mutex> sl (inputLock);

    if (held.empty())
        if (const auto received = receive (true); received < 0)
            return received;

    if (held.front().afterOverflow)
    {
        held.front().afterOverflow = false;
        return -ENOSPC;
    }

    current = std::move (held.front().event);
    held.pop_front();
    heldBytes -= sizeOfEvent (current);

    if ((current.fixed.flags & SND_SEQ_EVENT_LENGTH_MASK) != SND_SEQ_EVENT_LENGTH_FIXED)
        current.fixed.data.ext.ptr = current.variable.data();

    *event = &current.fixed;
    return (int) (held.size() * sizeof (snd_seq_event_t));
}

int StandinClient::pending (bool fetch)
{
    const std::lock_guard<std::mutex> sl (inputLock);

    // The socket holds what the broker could not yet hand over; bounding what moves here
    // keeps a program that only counts from piling up senders' events without end.
    while (fetch && heldBytes < maxHeldBytes)
    {
        const auto received = receive (false);

        if (received == -EAGAIN)
            break;

        if (received < 0)
            return received;
    }

    return (int) held.size();
}
