#pragma once

#include "sequencer/wire/WireBuffer.h"

/** A connected Unix stream socket carrying whole frames, owned: closed on destruction.
    Sending never raises SIGPIPE; receiving refuses a frame over the protocol's bound,
    and either fails once the peer has gone. One thread sends and one receives at a time
    (whoever shares a channel guards it).
*/
class WireChannel
{
public:
    explicit WireChannel (int socket) noexcept;
    ~WireChannel();

    /** Sends frame, with descriptorToPass attached when it is not -1. */
    bool send (const WireBuffer& frame, int descriptorToPass = -1);

    /** Receives the next frame; a descriptor that came with it goes to receivedDescriptor
        (if that is null, or a second one came, it is closed).
    */
    bool receive (WireBuffer& frame, int* receivedDescriptor = nullptr);

    /** Makes a receive blocked on another thread return false. */
    void shutdown() noexcept;

    int getSocket() const noexcept     { return socket; }

private:
    bool receiveHeader (std::uint32_t& size, int* receivedDescriptor);

    int socket = -1;

    WireChannel (const WireChannel&) = delete;
    WireChannel& operator= (const WireChannel&) = delete;
};
