#pragma once

#include "sequencer/SequencerKernel.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

/** A device's MIDI driver in the broker: a card client with ports that anyone may read
    and write, as a USB-MIDI device shows them, recording the bytes sent to it. Unplugged
    when destroyed.
*/
class KernelDevice : public KernelClientReceiver
{
public:
    KernelDevice (SequencerKernel& kernel, const std::string& name, const std::vector<std::string>& portNames);
    ~KernelDevice() override;

    int getClient() const noexcept     { return client; }

    /** Removes the client, as pulling the cable does. */
    void unplug();

    /** Sends one SysEx message (F0 ... F7) from port to its subscribers. */
    int sendSysex (int port, const std::vector<std::uint8_t>& message);

    /** Waits (bounded) until count bytes of SysEx have arrived; then the bytes. */
    std::vector<std::uint8_t> waitForBytes (std::size_t count);

    /** Called on the sending client's thread. */
    void eventArrived (int port, const SequencerEvent& event) override;

private:
    SequencerKernel& kernel;
    const int client;
    std::atomic<bool> plugged { true };

    std::mutex lock; // guards bytes, which senders' threads append to
    std::condition_variable arrived;
    std::vector<std::uint8_t> bytes;
};
