#pragma once

#include <juce_core/juce_core.h>

/** One record of a firmware image file: length data bytes for the device addresses
    from address on, stored in the file from dataOffset on.
*/
struct ImageRecord
{
    juce::uint32 address = 0;
    juce::uint32 length = 0;
    juce::int64 dataOffset = 0;

    /** One past the last address covered, wide enough not to wrap. */
    juce::uint64 getEnd() const noexcept { return (juce::uint64) address + length; }

    bool contains (juce::uint64 a) const noexcept { return a >= address && a < getEnd(); }
};
