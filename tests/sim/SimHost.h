#pragma once

#include "sim/ports/VirtualMidiPortSystem.h"

#include <condition_variable>
#include <mutex>
#include <vector>

/** The computer's end of one virtual port name, for driving a simulated device with raw
    messages: an input and an output of that name, and a record of what arrives.
*/
class SimHost : public juce::MidiInputCallback
{
public:
    using Bytes = std::vector<juce::uint8>;

    /** Adds an input and an output named portName and opens them. */
    SimHost (VirtualMidiPortSystem& ports, const juce::String& portName);
    ~SimHost() override;

    void openPorts();
    void closePorts();

    void send (const Bytes& message);

    /** Waits until count messages have arrived in all; the bound is never reached in a
        passing run.
    */
    bool waitForReceived (int count) const;

    /** Every message received so far, as upper-case hex pairs separated by spaces. */
    std::vector<juce::String> getReceived() const;

    /** Called on the input's delivery thread. */
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    static constexpr int waitBoundMs = 5000;

private:
    VirtualMidiPortSystem& ports;
    const int inputIndex;
    const int outputIndex;

    // Used by the test's thread only.
    std::unique_ptr<MidiInputPort> input;
    std::unique_ptr<MidiOutputPort> output;

    mutable std::mutex mutex;   // guards received
    mutable std::condition_variable messageArrived;
    std::vector<juce::String> received;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimHost)
};
