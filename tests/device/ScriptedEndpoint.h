#pragma once

#include "sim/ports/VirtualMidiPortSystem.h"
#include "tests/device/DeviceTestSupport.h"

#include <deque>
#include <mutex>
#include <condition_variable>

/** A far side whose every reply byte the test writes: each message the host sends is
    recorded and answered with the next prepared answer (any number of raw messages,
    none for silence); with no answer prepared it stays silent. It also keeps each
    change of how many of its name's ports the host has open.

    The connection's thread records and answers; the test prepares and reads on its own.
*/
class ScriptedEndpoint : private VirtualMidiEndpoint
{
public:
    ScriptedEndpoint (VirtualMidiPortSystem& ports, const juce::String& portName);
    ~ScriptedEndpoint() override;

    /** Prepares the answer to the next host message that has none yet. */
    void thenAnswer (std::vector<devicetest::Bytes> messages);

    /** Sends message to the host now, answering nothing. */
    void sendUnasked (const devicetest::Bytes& message);

    /** Every message the host sent, as hex, in order. */
    std::vector<std::string> getReceived() const;

    /** Waits (bounded, never reached in a passing run) until count messages came in. */
    bool waitForReceived (size_t count) const;

    /** Waits (bounded) until count changes of the host's open ports have been heard, and
        returns all heard so far, each as "inputs/outputs"; the first is the state when
        the endpoint was attached.
    */
    std::vector<std::string> waitForPortChanges (size_t count) const;

private:
    void messageFromHost (const juce::MidiMessage& message) override;
    void hostPortsChanged (int openInputs, int openOutputs) override;

    mutable std::mutex mutex;   // guards everything below
    mutable std::condition_variable heardSomething;
    std::deque<std::vector<devicetest::Bytes>> answers;
    std::vector<std::string> received;
    std::vector<std::string> portChanges;

    std::unique_ptr<VirtualEndpointConnection> connection;
};
