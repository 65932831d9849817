#pragma once

#include <juce_core/juce_core.h>

/** A stretch of device memory that takes firmware: length bytes from start on.

    A region that claims to run past 0xFFFFFFFF ends there: no address lies beyond, and
    wrapping round to 0 would take in memory that the device never listed.
*/
struct MemoryRegion
{
    juce::uint32 start = 0;
    juce::uint32 length = 0;

    /** One past the last address, wide enough not to wrap. */
    juce::uint64 getEnd() const noexcept { return juce::jmin ((juce::uint64) start + length, (juce::uint64) 1 << 32); }

    /** The last address of the region; meaningful only when length is not 0. */
    juce::uint32 getLast() const noexcept { return (juce::uint32) (getEnd() - 1); }
};
