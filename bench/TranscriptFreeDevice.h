#pragma once

#include "sim/ports/VirtualMidiPortSystem.h"
#include "sim/SimulatedFirmware.h"

/** A simulated device that answers as SimulatedDevice does without faults or link
    timing, and keeps no transcript: besides its flash it holds nothing that grows with
    what the host sends, so the heap a programming adds is the host's.

    It answers on its connection's delivery thread; readFlash may be called from any.
*/
class TranscriptFreeDevice : private VirtualMidiEndpoint
{
public:
    TranscriptFreeDevice (VirtualMidiPortSystem& ports, SimulatedDeviceConfig config);
    ~TranscriptFreeDevice() override;

    const SimulatedDeviceConfig& getConfig() const noexcept;
    std::vector<juce::uint8> readFlash (juce::uint32 address, juce::uint32 length) const;

private:
    void messageFromHost (const juce::MidiMessage& message) override;
    void hostPortsChanged (int openInputs, int openOutputs) override;

    const SimulatedDeviceConfig config;
    SimulatedFirmware firmware;

    // Guards connection, which the destructor takes away while a delivery may answer.
    juce::CriticalSection connectionLock;
    std::unique_ptr<VirtualEndpointConnection> connection;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TranscriptFreeDevice)
};
