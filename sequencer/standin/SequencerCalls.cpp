// The snd_seq_* calls the program, its client and Wine's driver import, over the broker.

#include "sequencer/standin/StandinClient.h"
#include "sequencer/wire/WireProtocol.h"

#include <cerrno>
#include <cstring>
#include <poll.h>

struct _snd_seq_system_info
{
    int curClients = 0;
};

struct _snd_seq_client_info
{
    int client = 0;
    snd_seq_client_type_t type = SND_SEQ_USER_CLIENT;
    char name[64] {};
    int ports = 0;
};

struct _snd_seq_port_info
{
    snd_seq_addr_t addr {};
    char name[64] {};
    unsigned capability = 0, type = 0;
};

namespace
{
    void copyName (char (&destination)[64], const std::string& name)
    {
        const auto size = std::min (name.size(), sizeof (destination) - 1);
        std::memcpy (destination, name.data(), size);
        destination[size] = 0;
    }

    int callWith (snd_seq_t* seq, WireBuffer& request)
    {
        if (seq == nullptr)
            return -EINVAL;

        WireBuffer reply;
        return seq->call (request, reply);
    }

    WireBuffer requestOf (wire::Request code)
    {
        WireBuffer request;
        request.addInt ((std::int32_t) code);
        return request;
    }

    int changeSubscription (snd_seq_t* seq, wire::Request code, int ownPort, int client, int port, wire::Direction direction)
    {
        auto request = requestOf (code);
        request.addInt (ownPort).addInt (client).addInt (port).addInt (direction);
        return callWith (seq, request);
    }
}

extern "C"
{

int snd_seq_open (snd_seq_t** handle, const char*, int, int mode)
{
    if (handle == nullptr)
        return -EINVAL;

    *handle = nullptr;
    std::unique_ptr<_snd_seq> client;

    if (const auto failed = StandinClient::open (client))
        return failed;

    client->setNonblocking ((mode & SND_SEQ_NONBLOCK) != 0);
    *handle = client.release();
    return 0;
}

int snd_seq_close (snd_seq_t* seq)
{
    std::unique_ptr<_snd_seq> closing (seq);
    return 0;
}

int snd_seq_nonblock (snd_seq_t* seq, int nonblock)
{
    if (seq == nullptr)
        return -EINVAL;

    seq->setNonblocking (nonblock != 0);
    return 0;
}

int snd_seq_client_id (snd_seq_t* seq)
{
    return seq != nullptr ? seq->getClientNumber() : -EINVAL;
}

int snd_seq_set_client_name (snd_seq_t* seq, const char* name)
{
    if (name == nullptr)
        return -EINVAL;

    auto request = requestOf (wire::Request::setName);
    request.addString (name);
    return callWith (seq, request);
}

int snd_seq_create_simple_port (snd_seq_t* seq, const char* name, unsigned int caps, unsigned int type)
{
    auto request = requestOf (wire::Request::createPort);
    request.addString (name != nullptr ? name : "").addInt ((std::int32_t) caps).addInt ((std::int32_t) type);
    return callWith (seq, request);
}

int snd_seq_delete_simple_port (snd_seq_t* seq, int port)
{
    auto request = requestOf (wire::Request::deletePort);
    request.addInt (port);
    return callWith (seq, request);
}

int snd_seq_connect_from (snd_seq_t* seq, int myport, int src_client, int src_port)
{
    return changeSubscription (seq, wire::Request::subscribe, myport, src_client, src_port, wire::fromOther);
}

int snd_seq_connect_to (snd_seq_t* seq, int myport, int dest_client, int dest_port)
{
    return changeSubscription (seq, wire::Request::subscribe, myport, dest_client, dest_port, wire::toOther);
}

int snd_seq_disconnect_from (snd_seq_t* seq, int myport, int src_client, int src_port)
{
    return changeSubscription (seq, wire::Request::unsubscribe, myport, src_client, src_port, wire::fromOther);
}

int snd_seq_event_output_direct (snd_seq_t* seq, snd_seq_event_t* ev)
{
    if (seq == nullptr || ev == nullptr)
        return -EINVAL;

    return seq->output (*ev);
}

int snd_seq_event_input (snd_seq_t* seq, snd_seq_event_t** ev)
{
    if (seq == nullptr || ev == nullptr)
        return -EINVAL;

    *ev = nullptr;
    return seq->input (ev);
}

int snd_seq_event_input_pending (snd_seq_t* seq, int fetch_sequencer)
{
    return seq != nullptr ? seq->pending (fetch_sequencer != 0) : -EINVAL;
}

int snd_seq_free_event (snd_seq_event_t*)
{
    return 0;
}

int snd_seq_poll_descriptors_count (snd_seq_t* seq, short)
{
    return seq != nullptr ? 1 : 0;
}

int snd_seq_poll_descriptors (snd_seq_t* seq, struct pollfd* pfds, unsigned int space, short events)
{
    if (seq == nullptr || pfds == nullptr || space < 1)
        return 0;

    pfds[0] = { seq->getEventSocket(), events, 0 };
    return 1;
}

size_t snd_seq_system_info_sizeof()                 { return sizeof (snd_seq_system_info_t); }
size_t snd_seq_client_info_sizeof()                 { return sizeof (snd_seq_client_info_t); }
size_t snd_seq_port_info_sizeof()                   { return sizeof (snd_seq_port_info_t); }

int snd_seq_system_info (snd_seq_t* seq, snd_seq_system_info_t* info)
{
    if (info == nullptr)
        return -EINVAL;

    auto request = requestOf (wire::Request::systemInfo);
    const auto clients = callWith (seq, request);

    if (clients < 0)
        return clients;

    info->curClients = clients;
    return 0;
}

int snd_seq_system_info_get_cur_clients (const snd_seq_system_info_t* info)     { return info->curClients; }

int snd_seq_query_next_client (snd_seq_t* seq, snd_seq_client_info_t* info)
{
    if (seq == nullptr || info == nullptr)
        return -EINVAL;

    auto request = requestOf (wire::Request::nextClient);
    request.addInt (info->client);
    WireBuffer reply;
    std::int32_t client = 0, type = 0, ports = 0;
    std::string name;

    if (const auto result = seq->call (request, reply); result < 0)
        return result;

    if (! (reply.readInt (client) && reply.readString (name) && reply.readInt (type) && reply.readInt (ports)))
        return -ENODEV;

    info->client = client;
    info->type = (snd_seq_client_type_t) type;
    info->ports = ports;
    copyName (info->name, name);
    return 0;
}

int snd_seq_client_info_get_client (const snd_seq_client_info_t* info)           { return info->client; }
int snd_seq_client_info_get_num_ports (const snd_seq_client_info_t* info)        { return info->ports; }
const char* snd_seq_client_info_get_name (snd_seq_client_info_t* info)           { return info->name; }
snd_seq_client_type_t snd_seq_client_info_get_type (const snd_seq_client_info_t* info) { return info->type; }
void snd_seq_client_info_set_client (snd_seq_client_info_t* info, int client)    { info->client = client; }

int snd_seq_query_next_port (snd_seq_t* seq, snd_seq_port_info_t* info)
{
    if (seq == nullptr || info == nullptr)
        return -EINVAL;

    auto request = requestOf (wire::Request::nextPort);
    request.addInt (info->addr.client).addInt (info->addr.port == 255 ? -1 : info->addr.port);
    WireBuffer reply;
    std::int32_t port = 0, capability = 0, type = 0;
    std::string name;

    if (const auto result = seq->call (request, reply); result < 0)
        return result;

    if (! (reply.readInt (port) && reply.readString (name) && reply.readInt (capability) && reply.readInt (type)))
        return -ENODEV;

    info->addr.port = (unsigned char) port;
    info->capability = (unsigned) capability;
    info->type = (unsigned) type;
    copyName (info->name, name);
    return 0;
}

int snd_seq_port_info_get_port (const snd_seq_port_info_t* info)                 { return info->addr.port; }
const char* snd_seq_port_info_get_name (const snd_seq_port_info_t* info)         { return info->name; }
unsigned int snd_seq_port_info_get_capability (const snd_seq_port_info_t* info)  { return info->capability; }
unsigned int snd_seq_port_info_get_type (const snd_seq_port_info_t* info)        { return info->type; }
const snd_seq_addr_t* snd_seq_port_info_get_addr (const snd_seq_port_info_t* info) { return &info->addr; }
void snd_seq_port_info_set_client (snd_seq_port_info_t* info, int client)        { info->addr.client = (unsigned char) client; }
void snd_seq_port_info_set_port (snd_seq_port_info_t* info, int port)            { info->addr.port = (unsigned char) port; }

}
