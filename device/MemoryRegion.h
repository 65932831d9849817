#pragma once

#include <juce_core/juce_core.h>

/** A stretch of device memory that takes firmware: length bytes from start on. */
struct MemoryRegion
{
    juce::uint32 start = 0;
    juce::uint32 length = 0;

    /** The last address of the region; meaningful only when length is not 0. */
    juce::uint32 getLast() const noexcept  { return start + length - 1; }
};
