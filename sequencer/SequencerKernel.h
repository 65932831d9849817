#pragma once

#include "sequencer/SequencerEvent.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

/** What a client living inside the broker (a device's MIDI driver, as in the kernel)
    hears: events sent to one of its ports, directly or through a subscription.
*/
class UserClientQueue;

class KernelClientReceiver
{
public:
    virtual ~KernelClientReceiver() = default;

    /** Called on the thread of the client that sent the event, never while the kernel
        holds its own lock, so the receiver may dispatch from here.
    */
    virtual void eventArrived (int port, const SequencerEvent& event) = 0;
};

/** The broker's sequencer: clients, their ports with names, capabilities and types,
    subscriptions between ports, and each user client's queue of events waiting to be
    read. It behaves as the kernel's sequencer does towards its clients; the stand-in
    libasound's calls end up here, and the broker's own clients (the simulated devices)
    use it directly. Any thread.
*/
class SequencerKernel
{
public:
    struct PortState
    {
        int port = 0;
        std::string name;
        unsigned capabilities = 0;
        unsigned type = 0;
    };

    struct ClientState
    {
        int client = 0;
        std::string name;
        bool isKernelClient = false;
        std::vector<PortState> ports;
    };

    struct Subscription
    {
        snd_seq_addr_t sender {};
        snd_seq_addr_t dest {};
    };

    SequencerKernel();
    ~SequencerKernel();

    /** Adds a client of the broker itself named name, numbered as a sound card's MIDI
        client is (20, 24, 28, ...), whose ports' events go to receiver. The receiver
        must outlive the client (see removeClient).
    */
    int addKernelClient (const std::string& name, KernelClientReceiver& receiver);

    /** Adds a port to a client of the broker's own; returns its number (0, 1, ...). */
    int addKernelPort (int client, const std::string& name, unsigned capabilities, unsigned type);

    /** Sends event from client's port event.fixed.source.port: to its subscribers when
        event.fixed.dest.client is SND_SEQ_ADDRESS_SUBSCRIBERS, otherwise to dest. Returns
        how many ports it reached, or a negative errno.
    */
    int dispatch (int client, SequencerEvent event);

    /** Removes a client with its ports and every subscription that involves them, as
        when a device is unplugged: its peers see exactly what a real sequencer shows
        them. Once this returns, the client's receiver is never called again.
    */
    void removeClient (int client);

    /** Adds the client of a program connected through the server, numbered from 128
        and named "Client-<n>"; events sent to its ports wait in queue, which must
        outlive the client. Returns the number, or -EBUSY when every number is taken.
    */
    int addUserClient (UserClientQueue& queue);

    /** Renames a client; -EINVAL for an unknown one. */
    int setClientName (int client, const std::string& name);

    /** Adds a port to any client with the lowest free number, which it returns, or
        -EINVAL for an unknown client, -ENOMEM when the client has all its ports.
    */
    int createPort (int client, const std::string& name, unsigned capabilities, unsigned type);

    /** Removes a port with its subscriptions; -EINVAL for an unknown one. */
    int deletePort (int client, int port);

    /** Connects two ports on behalf of subscriber: it needs no permission on its own
        ports, READ or SUBS_READ on another's sender, WRITE or SUBS_WRITE on another's
        dest (else -EPERM). -EINVAL for an unknown port, -EBUSY for a duplicate.
    */
    int subscribe (int subscriber, const Subscription& subscription);

    /** Removes a subscription (same permission rule); -ENOENT when there is none. */
    int unsubscribe (int subscriber, const Subscription& subscription);

    /** The client with the next number above after, or the port of client with the
        next number above after; nothing at the end.
    */
    std::optional<ClientState> nextClient (int after) const;
    std::optional<PortState> nextPort (int client, int after) const;

    /** Everything the kernel holds now, for tests and the broker's log. */
    std::vector<ClientState> clients() const;
    std::vector<Subscription> subscriptions() const;

private:
    class State;
    std::unique_ptr<State> state;
};
