#include "sim/SimulatedFlash.h"

#include <algorithm>
#include <limits>

SimulatedFlash::SimulatedFlash (const SimulatedMemoryMap& map)
    : start (map.flashStart),
      bytes (map.flashSize, 0xFF)
{
}

bool SimulatedFlash::contains (juce::uint32 address, juce::uint32 length) const noexcept
{
    const auto end = (juce::uint64) address + length;
    return address >= start && end <= (juce::uint64) start + bytes.size();
}

bool SimulatedFlash::write (juce::uint32 address, const std::vector<juce::uint8>& data)
{
    if (data.size() > std::numeric_limits<juce::uint32>::max() || ! contains (address, (juce::uint32) data.size()))
        return false;

    const juce::ScopedLock sl (lock);
    std::copy (data.begin(), data.end(), bytes.begin() + (std::ptrdiff_t) (address - start));
    return true;
}

std::vector<juce::uint8> SimulatedFlash::read (juce::uint32 address, juce::uint32 length) const
{
    if (address < start || address - start >= bytes.size())
        return {};

    const auto offset = (size_t) (address - start);
    const auto count = std::min ((size_t) length, bytes.size() - offset);

    const juce::ScopedLock sl (lock);
    const auto first = bytes.begin() + (std::ptrdiff_t) offset;
    return { first, first + (std::ptrdiff_t) count };
}
