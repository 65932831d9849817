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

StandinClient::StandinClient (int requestSocket, int events, int number) noexcept
    : eventSocket (events), clientNumber (number), requests (requestSocket)
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

int StandinClient::takeItems (int count)
{
    WireBuffer request, reply;
    request.addInt ((std::int32_t) wire::Request::take).addInt (count);
    const auto taken = call (request, reply);

    for (int i = 0; i < taken; ++i)
    {
        std::int32_t status = 0;
        SequencerEvent event;

        if (! reply.readInt (status) || (status == 0 && ! reply.readEvent (event)))
            return -ENODEV;

        buffered.emplace_back (status, std::move (event));
    }

    return taken;
}

int StandinClient::fetch (bool mayWait)
{
    char waiting[16];
    ssize_t count = 0;

    do
        count = ::recv (eventSocket, waiting, sizeof (waiting), mayWait && ! nonblocking ? 0 : MSG_DONTWAIT);
    while (count < 0 && errno == EINTR);

    if (count < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK ? -EAGAIN : -errno;

    if (count == 0)
        return -ENODEV;

    // The byte says items wait; if they are more than one take brings, the broker
    // rings again for the rest.
    return takeItems (wire::maxItemsPerTake);
}

int StandinClient::input (snd_seq_event_t** event)
{
    const std::lock_guard<std::mutex> sl (inputLock);

    if (buffered.empty())
        if (const auto fetched = fetch (true); fetched < 0)
            return fetched;

    if (buffered.empty())
        return -EAGAIN;

    auto [status, next] = std::move (buffered.front());
    buffered.pop_front();

    if (status < 0)
        return status;

    current = std::move (next);

    if ((current.fixed.flags & SND_SEQ_EVENT_LENGTH_MASK) != SND_SEQ_EVENT_LENGTH_FIXED)
        current.fixed.data.ext.ptr = current.variable.data();

    *event = &current.fixed;
    return (int) (buffered.size() * sizeof (snd_seq_event_t));
}

int StandinClient::pending (bool fetchFirst)
{
    const std::lock_guard<std::mutex> sl (inputLock);

    if (fetchFirst)
        if (const auto fetched = fetch (false); fetched < 0 && fetched != -EAGAIN)
            return fetched;

    return (int) buffered.size();
}
