#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** Writes firmware image files for tests: the magic, then records whose data bytes
    follow a pattern derived from their device addresses.
*/
class ImageFileBuilder
{
public:
    using Bytes = std::vector<juce::uint8>;

    ImageFileBuilder();

    ImageFileBuilder& addRecord (juce::uint32 address, juce::uint32 length);
    ImageFileBuilder& addRecord (juce::uint32 address, const Bytes& data);
    ImageFileBuilder& addRawBytes (const Bytes& bytes);

    juce::MemoryBlock getFile() const;

    /** Where each record added so far ends in the file. */
    const std::vector<size_t>& getRecordEnds() const noexcept { return recordEnds; }

    /** The pattern byte for a device address; never 0xFF, so no pattern block looks erased. */
    static juce::uint8 patternByte (juce::uint32 address);
    static Bytes patternBytes (juce::uint32 address, juce::uint32 length);

private:
    Bytes file;
    std::vector<size_t> recordEnds;
};
