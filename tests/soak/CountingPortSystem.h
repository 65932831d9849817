#pragma once

#include "device/ports/MidiPortSystem.h"

#include <atomic>
#include <mutex>
#include <vector>

/** Passes everything to another port system, and keeps count of the ports that are
    open now and of every message sent on them, so that a test can see what the host
    sent and that it closed all it opened.

    Ports are opened, used and closed on the workers; the counts and messages may be
    read on any thread. Ports opened here must be closed before it is destroyed.
*/
class CountingPortSystem : public MidiPortSystem
{
public:
    using Message = std::vector<juce::uint8>;

    explicit CountingPortSystem (MidiPortSystem& portsToUse);

    /** Inputs and outputs opened here and not yet closed. */
    int getOpenPorts() const noexcept;

    /** The messages sent since the previous call, oldest first. */
    std::vector<Message> takeSentMessages();

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

    /** Called by the ports it made, on whichever thread drives them. */
    void portClosed() noexcept;
    void messageSent (const juce::MidiMessage& message);

private:
    MidiPortSystem& ports;
    std::atomic<int> openPorts { 0 };

    std::mutex sentLock;    // guards sent
    std::vector<Message> sent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CountingPortSystem)
};
