#pragma once

#include <cstddef>
#include <cstdint>

/** What the stand-in libasound and the broker say to each other over the request
    socket. Every frame is a 32-bit length and that many bytes; a request starts with its
    Request code, a reply with its result (a count, a number or a negative errno).

    On connection the broker sends the new client's number, with the event socket's
    descriptor attached. That socket carries nothing but a byte while items (events, or
    an overflow report) wait in the client's queue, so that it is readable exactly when
    something waits; the client reads the byte, then fetches the items with take.
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
        output,         // event                                    -> bytes of the event
        take            // how many                                 -> count, then (status, event if 0) each;
                        //                                             fewer than asked when their bytes are many
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
    constexpr int maxItemsPerTake = 256;

    // A take's reply holds at most maxVariableBytes of events' bytes (or one event),
    // and each item's fixed part.
    constexpr std::size_t maxFrameBytes = maxVariableBytes + (std::size_t) maxItemsPerTake * 64 + 1024;
}
