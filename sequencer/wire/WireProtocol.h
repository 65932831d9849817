#pragma once

#include <cstddef>
#include <cstdint>

/** What the stand-in libasound and the broker say to each other over the request
    socket. Every frame is a 32-bit length and that many bytes; a request starts with its
    Request code, a reply with its result (a count, a number or a negative errno).

    On connection the broker sends the new client's number, with the event socket's
    descriptor attached. That socket (SOCK_SEQPACKET) is the client's input queue: each
    message is one event sent to the client, an EventMark then the event as output
    carries it, and it is readable exactly when events wait.
*/
namespace wire
{
    enum class Request : std::int32_t
    {
        setName = 1,    // name                                     -> 0
        createPort,     // name, capabilities, type                 -> port
        deletePort,     // port                                     -> 0
        subscribe,      // own port, client, port, direction        -> 0
        unsubscribe,    // own port, client, port, direction        -> 0
        systemInfo,     //                                          -> current clients
        nextClient,     // client                                   -> 0, client, name, type, ports
        nextPort,       // client, port                             -> 0, port, name, capabilities, type
        output          // event                                    -> bytes of the event
    };

    /** What comes before an event on the event socket. */
    enum EventMark : std::int32_t
    {
        inOrder = 0,        // nothing was lost before it
        afterOverflow = 1   // events were dropped before it: the reader hears -ENOSPC first
    };

    /** Which end of a subscription the other client's port is. */
    enum Direction : std::int32_t
    {
        fromOther = 0,  // the other port sends to ours
        toOther = 1     // ours sends to the other port
    };

    /** Bounds of what either side accepts from the other. */
    constexpr std::size_t maxVariableBytes = 64 * 1024;
    constexpr std::size_t maxNameBytes = 63;

    // The largest frame, an output request, and the largest event message: a few
    // numbers, an event's fixed part and its bytes.
    constexpr std::size_t maxFrameBytes = maxVariableBytes + 1024;
}
