#include "tests/device/ImageFileBuilder.h"

namespace
{
    void appendBigEndian (std::vector<juce::uint8>& bytes, juce::uint32 value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back ((juce::uint8) (value >> shift));
    }
}

ImageFileBuilder::ImageFileBuilder()
    : file { 0x00, 0x5C, 0x00, 0x05 }
{
}

ImageFileBuilder& ImageFileBuilder::addRecord (juce::uint32 address, juce::uint32 length)
{
    return addRecord (address, patternBytes (address, length));
}

ImageFileBuilder& ImageFileBuilder::addRecord (juce::uint32 address, const Bytes& data)
{
    appendBigEndian (file, address);
    appendBigEndian (file, (juce::uint32) data.size());
    file.insert (file.end(), data.begin(), data.end());
    recordEnds.push_back (file.size());
    return *this;
}

ImageFileBuilder& ImageFileBuilder::addRawBytes (const Bytes& bytes)
{
    file.insert (file.end(), bytes.begin(), bytes.end());
    return *this;
}

juce::MemoryBlock ImageFileBuilder::getFile() const
{
    return juce::MemoryBlock (file.data(), file.size());
}

juce::uint8 ImageFileBuilder::patternByte (juce::uint32 address)
{
    return (juce::uint8) ((address * 7 + (address >> 8) * 3) % 251);
}

ImageFileBuilder::Bytes ImageFileBuilder::patternBytes (juce::uint32 address, juce::uint32 length)
{
    Bytes bytes (length);

    for (juce::uint32 i = 0; i < length; ++i)
        bytes[i] = patternByte (address + i);

    return bytes;
}
