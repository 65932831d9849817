#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** One writable area a simulated device lists in its memory map. */
struct SimulatedRegion
{
    juce::uint32 start = 0;
    juce::uint32 length = 0;
};

/** What a simulated device tells the host about its memory, and the flash behind it.

    The flash may reach past the regions, so that a test can see that nothing was
    written where no region lists memory. A write that leaves the flash is refused.
*/
struct SimulatedMemoryMap
{
    /** A map whose flash spans from the lowest region start to the highest region end. */
    static SimulatedMemoryMap covering (juce::uint16 blockSize, std::vector<SimulatedRegion> regions);

    juce::uint16 blockSize = 256;
    std::vector<SimulatedRegion> regions { { 0, 0x10000 } };
    juce::uint32 flashStart = 0;
    juce::uint32 flashSize = 0x10000;
};
