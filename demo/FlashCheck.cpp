#include "demo/FlashCheck.h"

#include <algorithm>
#include <optional>

namespace
{
    struct Record
    {
        juce::uint64 address;
        juce::uint64 length;
        const juce::uint8* data;
    };

    constexpr juce::uint8 magic[] { 0x00, 0x5C, 0x00, 0x05 };
    constexpr size_t recordHeaderSize = 8;

    // A file ends its records where no more than a record header's worth of bytes is left.
    std::optional<std::vector<Record>> readRecords (const juce::MemoryBlock& file)
    {
        const auto* bytes = static_cast<const juce::uint8*> (file.getData());
        const auto size = file.getSize();

        if (size < sizeof (magic) || ! std::equal (std::begin (magic), std::end (magic), bytes))
            return std::nullopt;

        std::vector<Record> records;

        for (size_t position = sizeof (magic); size - position > recordHeaderSize;)
        {
            const auto address = juce::ByteOrder::bigEndianInt (bytes + position);
            const auto length = juce::ByteOrder::bigEndianInt (bytes + position + 4);
            position += recordHeaderSize;

            if (length > size - position)
                return std::nullopt;

            records.push_back ({ address, length, bytes + position });
            position += length;
        }

        return records;
    }
}

bool FlashCheck::matches (const juce::MemoryBlock& imageFile, const std::vector<SimulatedRegion>& regions,
                          const FlashReader& readFlash)
{
    const auto records = readRecords (imageFile);

    if (! records.has_value())
        return false;

    juce::uint64 compared = 0;

    for (const auto& record : *records)
    {
        for (const auto& region : regions)
        {
            const auto from = std::max (record.address, (juce::uint64) region.start);
            const auto to = std::min (record.address + record.length, (juce::uint64) region.start + region.length);

            if (from >= to)
                continue;

            const auto flash = readFlash ((juce::uint32) from, (juce::uint32) (to - from));
            const auto* expected = record.data + (from - record.address);

            if (flash.size() != to - from || ! std::equal (flash.begin(), flash.end(), expected))
                return false;

            compared += to - from;
        }
    }

    return compared > 0;
}
