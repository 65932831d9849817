#pragma once

#include "bench/ProgrammingSetUp.h"
#include "bench/TranscriptFreeDevice.h"
#include "device/MidiTargetDevice.h"
#include "sim/SimulatedDevice.h"

/** A host device and a simulated device on virtual ports, and an image for them, as
    ProgrammingSetUp describes. Made and used on one thread; the simulated device
    answers on its own.
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

    ProgrammingRig (juce::uint32 imageSize, FarSide farSide, ProgrammingSetUp::Link link = {});

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
    const ProgrammingSetUp::Link link;
    const juce::uint32 imageSize;
    const SimulatedDeviceConfig config;
    VirtualMidiPortSystem ports;
    std::unique_ptr<SimulatedDevice> simulated;
    std::unique_ptr<TranscriptFreeDevice> transcriptFree;
    MidiTargetDevice device;
    const juce::MemoryBlock image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgrammingRig)
};
