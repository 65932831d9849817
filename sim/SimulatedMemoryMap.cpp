#include "sim/SimulatedMemoryMap.h"

#include <algorithm>
#include <limits>

SimulatedMemoryMap SimulatedMemoryMap::covering (juce::uint16 blockSize, std::vector<SimulatedRegion> regions)
{
    SimulatedMemoryMap map;
    map.blockSize = blockSize;
    map.regions = std::move (regions);

    if (map.regions.empty())
    {
        map.flashSize = 0;
        return map;
    }

    juce::uint64 lowest = std::numeric_limits<juce::uint64>::max();
    juce::uint64 highest = 0;

    for (const auto& region : map.regions)
    {
        lowest = std::min (lowest, (juce::uint64) region.start);
        highest = std::max (highest, (juce::uint64) region.start + region.length);
    }

    map.flashStart = (juce::uint32) lowest;
    map.flashSize = (juce::uint32) std::min (highest - lowest, (juce::uint64) std::numeric_limits<juce::uint32>::max());
    return map;
}
