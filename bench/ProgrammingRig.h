#pragma once

#include "bench/ProgrammingSetUp.h"
#include "bench/SequencerPorts.h"
#include "bench/TranscriptFreeDevice.h"
#include "device/MidiTargetDevice.h"
#include "sim/SimulatedDevice.h"

/** A host device and a simulated device, and an image for them, as ProgrammingSetUp
    describes: on virtual ports, or through JUCE's ALSA code and the test sequencer. Made
    and used on one thread; the simulated device answers on its own.
*/
class ProgrammingRig
{
public:
    /** The far side of the ports. */
    enum class FarSide
    {
        simulatedDevice,    // the tests' device: a transcript of every message, link timing
        transcriptFree      // the same answers without either, so that its own time is small
    };

    /** How the host reaches the device. */
    enum class Ports
    {
        virtualPorts,       // the in-process virtual ports
        alsaSequencer       // JUCE's ALSA code and the test sequencer: a simulatedDevice only
    };

    ProgrammingRig (juce::uint32 imageSize, FarSide farSide, ProgrammingSetUp::Link link = {},
                    Ports portsToUse = Ports::virtualPorts);

    /** False when the host cannot reach the device: JUCE lists no sequencer port of it
        (the process was started without the stand-in libasound).
    */
    bool isConnected() const noexcept;

    /** Writes the image into the device on the calling thread; false when that failed. */
    bool programOnce (StatusReporter* status, ProgressReporter* progress);

    MidiTargetDevice& getDevice() noexcept;
    const juce::MemoryBlock& getImage() const noexcept;

    /** The blocks one programming writes. */
    juce::int64 getNumBlocks() const noexcept;

    /** All the bytes both sides have sent so far; counted by a simulatedDevice only. */
    size_t getBytesOnTheWire() const;

    /** The least time all exchanges so far could have taken on the link; counted by a
        simulatedDevice only.
    */
    double getLinkFloorSeconds() const;

private:
    const SimulatedDevice* getSimulatedDevice() const;

    const ProgrammingSetUp::Link link;
    const juce::uint32 imageSize;
    const SimulatedDeviceConfig config;
    VirtualMidiPortSystem ports;
    std::unique_ptr<SequencerPorts> sequencer;
    std::unique_ptr<SimulatedDevice> simulated;
    std::unique_ptr<TranscriptFreeDevice> transcriptFree;
    MidiTargetDevice device;
    bool connected = true;
    const juce::MemoryBlock image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgrammingRig)
};
