#pragma once

#include "device/MidiTargetDevice.h"
#include "sim/SimulatedDevice.h"

/** A host device and a simulated device on virtual ports, and an image for them, as
    ProgrammingSetUp describes. Made and used on one thread; the simulated device
    answers on its own.
*/
class ProgrammingRig
{
public:
    ProgrammingRig (juce::uint32 imageSize, double linkBytesPerSecond);

    /** Writes the image into the device on the calling thread; false when that failed. */
    bool programOnce (StatusReporter* status, ProgressReporter* progress);

    /** The blocks one programming writes. */
    juce::int64 getNumBlocks() const noexcept;

    VirtualMidiPortSystem ports;
    SimulatedDevice simulated;
    MidiTargetDevice device;
    const juce::MemoryBlock image;

private:
    const juce::uint32 imageSize;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgrammingRig)
};
