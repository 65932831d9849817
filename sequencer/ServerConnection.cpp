#include "sequencer/ServerConnection.h"

#include "sequencer/wire/WireProtocol.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

ServerConnection::ServerConnection (SequencerKernel& k, int socket)
    : kernel (k), requests (socket)
{
    int events[2] { -1, -1 };

    if (::socketpair (AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, events) != 0)
    {
        ended = true;
        return;
    }

    // A Unix socket's queued messages count against the sender's buffer only.
    eventSocket = events[0];
    ::setsockopt (eventSocket, SOL_SOCKET, SO_SNDBUF, &UserClientQueue::sendBufferBytes, sizeof (int));
    queue = std::make_unique<UserClientQueue> (eventSocket);
    client = kernel.addUserClient (*queue);

    WireBuffer hello;
    hello.addInt (client);
    const auto greeted = requests.send (hello, events[1]);
    ::close (events[1]);

    if (client < 0 || ! greeted)
    {
        ended = true;
        return;
    }

    ::shutdown (eventSocket, SHUT_RD);
    thread = std::thread ([this] { serve(); });
}

ServerConnection::~ServerConnection()
{
    requests.shutdown();

    // The thread removes the client when it ends; by the time a finished connection is
    // destroyed its number may already belong to another program.
    if (thread.joinable())
        thread.join();
    else if (client >= 0)
        kernel.removeClient (client);

    if (eventSocket >= 0)
        ::close (eventSocket);
}

void ServerConnection::serve()
{
    WireBuffer request;

    while (requests.receive (request))
    {
        WireBuffer reply;

        if (! answer (request, reply) || ! requests.send (reply))
            break;
    }

    kernel.removeClient (client);
    ended = true;
}

bool ServerConnection::answer (WireBuffer& request, WireBuffer& reply)
{
    std::int32_t code = 0, a = 0, b = 0;
    std::string name;

    if (! request.readInt (code))
        return false;

    switch ((wire::Request) code)
    {
        case wire::Request::setName:
            return request.readString (name) && (reply.addInt (kernel.setClientName (client, name)), true);

        case wire::Request::createPort:
            return request.readString (name) && request.readInt (a) && request.readInt (b)
                && (reply.addInt (kernel.createPort (client, name, (unsigned) a, (unsigned) b)), true);

        case wire::Request::deletePort:
            return request.readInt (a) && (reply.addInt (kernel.deletePort (client, a)), true);

        case wire::Request::subscribe:
        case wire::Request::unsubscribe:
            a = connectPorts (request, (wire::Request) code == wire::Request::subscribe);
            return a != -EPROTO && (reply.addInt (a), true);

        case wire::Request::systemInfo:
            reply.addInt ((std::int32_t) kernel.clients().size());
            return true;

        case wire::Request::nextClient:   return describeClient (request, reply) != -EPROTO;
        case wire::Request::nextPort:     return describePort (request, reply) != -EPROTO;

        case wire::Request::output:
            a = output (request);
            return a != -EPROTO && (reply.addInt (a), true);
    }

    return false;
}

int ServerConnection::connectPorts (WireBuffer& request, bool connect)
{
    std::int32_t ownPort = 0, otherClient = 0, otherPort = 0, direction = 0;

    if (! (request.readInt (ownPort) && request.readInt (otherClient) && request.readInt (otherPort)
           && request.readInt (direction)))
        return -EPROTO;

    const auto outOfRange = [] (std::int32_t value) { return value < 0 || value > 255; };

    if (outOfRange (ownPort) || outOfRange (otherClient) || outOfRange (otherPort))
        return -EINVAL;

    const snd_seq_addr_t own { (unsigned char) client, (unsigned char) ownPort };
    const snd_seq_addr_t other { (unsigned char) otherClient, (unsigned char) otherPort };
    const auto subscription = direction == wire::fromOther ? SequencerKernel::Subscription { other, own }
                                                           : SequencerKernel::Subscription { own, other };

    return connect ? kernel.subscribe (client, subscription) : kernel.unsubscribe (client, subscription);
}

int ServerConnection::describeClient (WireBuffer& request, WireBuffer& reply)
{
    std::int32_t after = 0;

    if (! request.readInt (after))
        return -EPROTO;

    const auto next = kernel.nextClient (after);

    if (! next.has_value())
        return reply.addInt (-ENOENT), 0;

    reply.addInt (0).addInt (next->client).addString (next->name)
         .addInt (next->isKernelClient ? SND_SEQ_KERNEL_CLIENT : SND_SEQ_USER_CLIENT)
         .addInt ((std::int32_t) next->ports.size());
    return 0;
}

int ServerConnection::describePort (WireBuffer& request, WireBuffer& reply)
{
    std::int32_t owner = 0, after = 0;

    if (! (request.readInt (owner) && request.readInt (after)))
        return -EPROTO;

    const auto next = kernel.nextPort (owner, after);

    if (! next.has_value())
        return reply.addInt (-ENOENT), 0;

    reply.addInt (0).addInt (next->port).addString (next->name)
         .addInt ((std::int32_t) next->capabilities).addInt ((std::int32_t) next->type);
    return 0;
}

int ServerConnection::output (WireBuffer& request)
{
    SequencerEvent event;

    if (! request.readEvent (event))
        return -EPROTO;

    const auto size = (int) (sizeof (event.fixed) + event.variable.size());
    const auto reached = kernel.dispatch (client, std::move (event));
    return reached < 0 ? reached : size;
}
