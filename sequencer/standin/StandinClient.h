#pragma once

#include "sequencer/wire/WireChannel.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

struct _snd_seq;

/** A program's client of the broker, behind a snd_seq_t: the request channel, shared
    by every thread that calls the library with this handle, and the event socket, from
    which events are read one message each, with the library's buffer of those read and
    not yet handed out.
*/
class StandinClient
{
public:
    /** Connects to the broker named by QUILLON_SEQUENCER_SOCKET; -ENOENT when there is
        none, as without /dev/snd/seq.
    */
    static int open (std::unique_ptr<_snd_seq>& client);

    StandinClient (int requestSocket, int eventSocket, int clientNumber);
    ~StandinClient();

    int getClientNumber() const noexcept    { return clientNumber; }
    int getEventSocket() const noexcept     { return eventSocket; }
    void setNonblocking (bool shouldNotBlock) noexcept    { nonblocking = shouldNotBlock; }

    /** Sends request and waits for its reply; returns the reply's result (the reply is
        left after it), or -ENODEV when the broker has gone. Any thread.
    */
    int call (const WireBuffer& request, WireBuffer& reply);

    /** Sends event from this client (its bytes too, if it has variable length). */
    int output (const snd_seq_event_t& event);

    /** snd_seq_event_input: the next event, valid until the next call; -EAGAIN when
        none waits and the client does not block, -ENOSPC once after an overflow.
    */
    int input (snd_seq_event_t** event);

    /** snd_seq_event_input_pending: the events held here, after moving what waits on
        the event socket here (without waiting, up to a bound) when fetch is true.
    */
    int pending (bool fetch);

private:
    struct ReceivedEvent
    {
        SequencerEvent event;
        bool afterOverflow = false;     // the reader hears -ENOSPC before the event
    };

    int receive (bool mayWait);

    const int eventSocket;
    const int clientNumber;
    std::atomic<bool> nonblocking { false };

    // Guards the request channel: JUCE creates ports on one thread while its input
    // thread reads events on another.
    std::mutex requestLock;
    WireChannel requests;

    // Guards what the reading threads share: the events received and not yet handed
    // out with their size, the message being received and the event handed out last.
    std::mutex inputLock;
    std::deque<ReceivedEvent> held;
    std::size_t heldBytes = 0;
    std::vector<std::uint8_t> message;
    SequencerEvent current;
};

/** What alsa-lib's callers hold as snd_seq_t. */
struct _snd_seq : public StandinClient
{
    using StandinClient::StandinClient;
};
