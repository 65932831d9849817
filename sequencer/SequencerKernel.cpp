#include "sequencer/SequencerKernel.h"

#include "sequencer/MidiThroughClient.h"
#include "sequencer/UserClientQueue.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace
{
    constexpr int firstCardClient = 20, cardClientStep = 4, firstUserClient = 128, clientLimit = 192;
    constexpr int portLimit = 254;

    // A loop of subscriptions through Midi Through would otherwise echo for ever; the
    // kernel stops an event after as many hops.
    constexpr int maxHops = 10;
    thread_local int hopsOnThisThread = 0;

    bool sameAddress (const snd_seq_addr_t& a, const snd_seq_addr_t& b)
    {
        return a.client == b.client && a.port == b.port;
    }
}

class SequencerKernel::State
{
public:
    struct Port
    {
        std::string name;
        unsigned capabilities = 0, type = 0;
    };

    struct Client
    {
        std::string name;
        bool isKernelClient = false;
        KernelClientReceiver* receiver = nullptr;
        UserClientQueue* queue = nullptr;
        std::map<int, Port> ports;
    };

    struct Delivery
    {
        KernelClientReceiver* receiver;
        int client, port;
        SequencerEvent event;
    };

    explicit State (SequencerKernel& kernel)
        : through (kernel)
    {
    }

    Client* findClient (int client)
    {
        const auto found = clients.find (client);
        return found != clients.end() ? &found->second : nullptr;
    }

    Port* findPort (const snd_seq_addr_t& address)
    {
        auto* client = findClient (address.client);

        if (client == nullptr)
            return nullptr;

        const auto found = client->ports.find (address.port);
        return found != client->ports.end() ? &found->second : nullptr;
    }

    int lowestFreeClient (int first, int step, int limit) const
    {
        for (int number = first; number < limit; number += step)
            if (clients.count (number) == 0)
                return number;

        return -EBUSY;
    }

    int checkSubscription (int subscriber, const Subscription& s)
    {
        const auto* sender = findPort (s.sender);
        const auto* dest = findPort (s.dest);

        if (sender == nullptr || dest == nullptr)
            return -EINVAL;

        if (s.sender.client != subscriber && (sender->capabilities & (SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ)) == 0)
            return -EPERM;

        if (s.dest.client != subscriber && (dest->capabilities & (SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE)) == 0)
            return -EPERM;

        return 0;
    }

    std::vector<Subscription>::iterator findSubscription (const Subscription& s)
    {
        return std::find_if (subscriptions.begin(), subscriptions.end(), [&] (const Subscription& other)
        {
            return sameAddress (other.sender, s.sender) && sameAddress (other.dest, s.dest);
        });
    }

    void forgetSubscriptionsOf (int client, int port)
    {
        const auto involves = [&] (const snd_seq_addr_t& a) { return a.client == client && (port < 0 || a.port == port); };

        subscriptions.erase (std::remove_if (subscriptions.begin(), subscriptions.end(), [&] (const Subscription& s)
        {
            return involves (s.sender) || involves (s.dest);
        }), subscriptions.end());
    }

    std::vector<snd_seq_addr_t> destinationsOf (const snd_seq_event_t& event)
    {
        std::vector<snd_seq_addr_t> destinations;

        if (event.dest.client != SND_SEQ_ADDRESS_SUBSCRIBERS)
        {
            if (findPort (event.dest) != nullptr)
                destinations.push_back (event.dest);

            return destinations;
        }

        for (const auto& s : subscriptions)
            if (sameAddress (s.sender, event.source))
                destinations.push_back (s.dest);

        return destinations;
    }

    /** Queues event for user clients at once; returns what kernel clients must be given. */
    std::vector<Delivery> deliver (const SequencerEvent& event, const std::vector<snd_seq_addr_t>& destinations)
    {
        std::vector<Delivery> toKernelClients;

        for (const auto& destination : destinations)
        {
            auto copy = event;
            copy.fixed.dest = destination;
            auto& client = clients.at (destination.client);

            if (client.queue != nullptr)
                client.queue->push (copy);
            else if (client.receiver != nullptr)
                toKernelClients.push_back ({ client.receiver, destination.client, destination.port, std::move (copy) });
        }

        return toKernelClients;
    }

    ClientState snapshot (int number, const Client& client) const
    {
        ClientState state { number, client.name, client.isKernelClient, {} };

        for (const auto& [port, p] : client.ports)
            state.ports.push_back ({ port, p.name, p.capabilities, p.type });

        return state;
    }

    MidiThroughClient through;

    // Guards everything below; receivers are never called while it is held.
    mutable std::mutex lock;
    std::map<int, Client> clients;
    std::vector<Subscription> subscriptions;

    // The receivers being called, by client and the calling thread, so that
    // removeClient can wait for them to return (but not for a call on its own thread).
    std::multimap<int, std::thread::id> deliveries;
    std::condition_variable deliveriesEnded;
};

SequencerKernel::SequencerKernel()
    : state (std::make_unique<State> (*this))
{
    const auto readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
    state->clients[0] = { "System", true, nullptr, nullptr, {} };
    createPort (0, "Timer", readable, 0);
    createPort (0, "Announce", readable, 0);

    state->clients[MidiThroughClient::number] = { "Midi Through", true, &state->through, nullptr, {} };
    createPort (MidiThroughClient::number, "Midi Through Port-0",
                readable | SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_SOFTWARE);
}

SequencerKernel::~SequencerKernel() = default;

int SequencerKernel::addKernelClient (const std::string& name, KernelClientReceiver& receiver)
{
    const std::lock_guard<std::mutex> sl (state->lock);
    const auto number = state->lowestFreeClient (firstCardClient, cardClientStep, firstUserClient);

    if (number >= 0)
        state->clients[number] = { name, true, &receiver, nullptr, {} };

    return number;
}

int SequencerKernel::addUserClient (UserClientQueue& queue)
{
    const std::lock_guard<std::mutex> sl (state->lock);
    const auto number = state->lowestFreeClient (firstUserClient, 1, clientLimit);

    if (number >= 0)
        state->clients[number] = { "Client-" + std::to_string (number), false, nullptr, &queue, {} };

    return number;
}

int SequencerKernel::addKernelPort (int client, const std::string& name, unsigned capabilities, unsigned type)
{
    return createPort (client, name, capabilities, type);
}

int SequencerKernel::setClientName (int client, const std::string& name)
{
    const std::lock_guard<std::mutex> sl (state->lock);
    auto* c = state->findClient (client);

    if (c == nullptr)
        return -EINVAL;

    c->name = name;
    return 0;
}

int SequencerKernel::createPort (int client, const std::string& name, unsigned capabilities, unsigned type)
{
    const std::lock_guard<std::mutex> sl (state->lock);
    auto* c = state->findClient (client);

    if (c == nullptr)
        return -EINVAL;

    for (int port = 0; port < portLimit; ++port)
    {
        if (c->ports.count (port) == 0)
        {
            c->ports[port] = { name, capabilities, type };
            return port;
        }
    }

    return -ENOMEM;
}

int SequencerKernel::deletePort (int client, int port)
{
    const std::lock_guard<std::mutex> sl (state->lock);
    auto* c = state->findClient (client);

    if (c == nullptr || c->ports.erase (port) == 0)
        return -EINVAL;

    state->forgetSubscriptionsOf (client, port);
    return 0;
}

int SequencerKernel::subscribe (int subscriber, const Subscription& subscription)
{
    const std::lock_guard<std::mutex> sl (state->lock);

    if (const auto refused = state->checkSubscription (subscriber, subscription))
        return refused;

    if (state->findSubscription (subscription) != state->subscriptions.end())
        return -EBUSY;

    state->subscriptions.push_back (subscription);
    return 0;
}

int SequencerKernel::unsubscribe (int subscriber, const Subscription& subscription)
{
    const std::lock_guard<std::mutex> sl (state->lock);

    if (const auto refused = state->checkSubscription (subscriber, subscription))
        return refused;

    const auto found = state->findSubscription (subscription);

    if (found == state->subscriptions.end())
        return -ENOENT;

    state->subscriptions.erase (found);
    return 0;
}

int SequencerKernel::dispatch (int client, SequencerEvent event)
{
    if (hopsOnThisThread >= maxHops)
        return -EMLINK;

    std::vector<State::Delivery> deliveries;
    int reached = 0;

    {
        const std::lock_guard<std::mutex> sl (state->lock);
        const auto* sender = state->findClient (client);
        event.fixed.source.client = (unsigned char) client;

        if (sender == nullptr || sender->ports.count (event.fixed.source.port) == 0)
            return -EINVAL;

        const auto destinations = state->destinationsOf (event.fixed);

        if (destinations.empty() && event.fixed.dest.client != SND_SEQ_ADDRESS_SUBSCRIBERS)
            return -ENOENT;

        reached = (int) destinations.size();
        for (auto& delivery : state->deliver (event, destinations))
            deliveries.push_back (std::move (delivery));

        for (const auto& delivery : deliveries)
            state->deliveries.emplace (delivery.client, std::this_thread::get_id());
    }

    ++hopsOnThisThread;

    for (const auto& delivery : deliveries)
    {
        delivery.receiver->eventArrived (delivery.port, delivery.event);

        const std::lock_guard<std::mutex> sl (state->lock);
        const auto range = state->deliveries.equal_range (delivery.client);
        const auto mine = std::find_if (range.first, range.second, [] (const auto& entry)
        {
            return entry.second == std::this_thread::get_id();
        });
        state->deliveries.erase (mine);
        state->deliveriesEnded.notify_all();
    }

    --hopsOnThisThread;
    return reached;
}

void SequencerKernel::removeClient (int client)
{
    std::unique_lock<std::mutex> sl (state->lock);

    if (state->clients.erase (client) == 0)
        return;

    state->forgetSubscriptionsOf (client, -1);

    state->deliveriesEnded.wait (sl, [&]
    {
        const auto range = state->deliveries.equal_range (client);
        return std::all_of (range.first, range.second, [] (const auto& entry)
        {
            return entry.second == std::this_thread::get_id();
        });
    });
}

std::vector<SequencerKernel::ClientState> SequencerKernel::clients() const
{
    const std::lock_guard<std::mutex> sl (state->lock);
    std::vector<ClientState> result;

    for (const auto& [number, client] : state->clients)
        result.push_back (state->snapshot (number, client));

    return result;
}

std::vector<SequencerKernel::Subscription> SequencerKernel::subscriptions() const
{
    const std::lock_guard<std::mutex> sl (state->lock);
    return state->subscriptions;
}

std::optional<SequencerKernel::ClientState> SequencerKernel::nextClient (int after) const
{
    const std::lock_guard<std::mutex> sl (state->lock);
    const auto found = state->clients.upper_bound (after);

    if (found == state->clients.end())
        return std::nullopt;

    return state->snapshot (found->first, found->second);
}

std::optional<SequencerKernel::PortState> SequencerKernel::nextPort (int client, int after) const
{
    const std::lock_guard<std::mutex> sl (state->lock);
    const auto* c = state->findClient (client);

    if (c == nullptr)
        return std::nullopt;

    const auto found = c->ports.upper_bound (after);

    if (found == c->ports.end())
        return std::nullopt;

    return PortState { found->first, found->second.name, found->second.capabilities, found->second.type };
}
