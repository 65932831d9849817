#pragma once

#include "sim/SimulatedMemoryMap.h"

#include <vector>

/** The flash memory of a simulated device: flashSize bytes from flashStart, all 0xFF
    until written. The device writes on its delivery thread while tests read on theirs.
*/
class SimulatedFlash
{
public:
    explicit SimulatedFlash (const SimulatedMemoryMap& map);

    /** True when every byte from address to address + length - 1 lies in the flash. */
    bool contains (juce::uint32 address, juce::uint32 length) const noexcept;

    /** Writes the bytes at address; false, writing nothing, when they would not all fit. */
    bool write (juce::uint32 address, const std::vector<juce::uint8>& data);

    /** The bytes from address on, up to length of them, cut where the flash ends. */
    std::vector<juce::uint8> read (juce::uint32 address, juce::uint32 length) const;

private:
    const juce::uint32 start;

    mutable juce::CriticalSection lock;   // guards bytes (not their number, which never changes)
    std::vector<juce::uint8> bytes;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedFlash)
};
