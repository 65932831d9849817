#pragma once

#include "sequencer/SequencerEvent.h"

#include <mutex>

/** The events waiting for one user client, as the kernel's input FIFO holds them: the
    client's event socket (SOCK_SEQPACKET), which carries one event per message straight
    to the client's read, as the kernel hands events to read() on /dev/snd/seq. Its send
    buffer bounds the queue; an event that finds it full is dropped, and the overflow is
    reported once, by the next event that fits carrying a mark.
*/
class UserClientQueue
{
public:
    /** The send buffer to ask of the event socket: about 1000 small events fit, and a
        64 KiB SysEx fits whenever the queue is empty. The kernel charges each message
        its bookkeeping too (about 768 bytes for a small one) and doubles what is asked;
        where net.core.wmem_max is lower than asked, fewer fit.
    */
    static constexpr int sendBufferBytes = 384 * 1024;

    /** socket: the sending end of the client's event socket, not owned. */
    explicit UserClientQueue (int socket) noexcept;

    /** Called by the kernel, on the sending client's thread; never blocks. */
    void push (const SequencerEvent& event);

private:
    const int socket;

    // Guards overflowed, which the kernel's pushes on several senders' threads read and
    // set together with sending, so that the mark goes with the event right after a loss.
    std::mutex sending;
    bool overflowed = false;
};
