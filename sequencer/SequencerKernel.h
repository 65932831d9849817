#pragma once

#include "sequencer/SequencerEvent.h"

#include <memory>
#include <string>
#include <vector>

/** What a client living inside the broker (a device's MIDI driver, as in the kernel)
    hears: events sent to one of its ports, directly or through a subscription.
*/
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

    /** Everything the kernel holds now, for tests and the broker's log. */
    std::vector<ClientState> clients() const;
    std::vector<Subscription> subscriptions() const;

private:
    class State;
    std::unique_ptr<State> state;
};
