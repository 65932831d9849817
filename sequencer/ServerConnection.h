#pragma once

#include "sequencer/SequencerKernel.h"
#include "sequencer/UserClientQueue.h"
#include "sequencer/wire/WireChannel.h"

#include <atomic>
#include <thread>

/** One program's connection to the broker: a user client of the kernel for as long as
    the connection lasts, served on a thread of its own. Destroying it ends the
    connection and the client, as closing a program does.
*/
class ServerConnection
{
public:
    /** Takes the accepted socket; the client is added and the program told its number
        and given its event socket before the thread starts.
    */
    ServerConnection (SequencerKernel& kernel, int socket);
    ~ServerConnection();

    /** True once the program has gone (its thread is about to end). Any thread. */
    bool hasEnded() const noexcept     { return ended; }

private:
    void serve();
    bool answer (WireBuffer& request, WireBuffer& reply);
    int connectPorts (WireBuffer& request, bool connect);
    int describeClient (WireBuffer& request, WireBuffer& reply);
    int describePort (WireBuffer& request, WireBuffer& reply);
    int output (WireBuffer& request);

    SequencerKernel& kernel;
    WireChannel requests;
    int eventSocket = -1;
    std::unique_ptr<UserClientQueue> queue;
    int client = -1;
    std::atomic<bool> ended { false };
    std::thread thread;
};
