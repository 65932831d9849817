#include "catalogue/CatalogueText.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace
{
    enum class Endianness
    {
        little,
        big
    };

    struct Utf16Layout
    {
        Endianness endianness;
        size_t start;
    };

    // A plain text file starts with '<' or blanks, never with a zero byte, and UTF-8 and
    // Windows-1252 have no zero byte in any character, so a zero byte in the first pair
    // says UTF-16 and on which side its high byte lies.
    std::optional<Utf16Layout> utf16LayoutOf (const juce::uint8* bytes, size_t size)
    {
        if (size < 2)
            return std::nullopt;

        if (bytes[0] == 0xff && bytes[1] == 0xfe)
            return Utf16Layout { Endianness::little, 2 };

        if (bytes[0] == 0xfe && bytes[1] == 0xff)
            return Utf16Layout { Endianness::big, 2 };

        if (bytes[0] != 0 && bytes[1] == 0)
            return Utf16Layout { Endianness::little, 0 };

        if (bytes[0] == 0 && bytes[1] != 0)
            return Utf16Layout { Endianness::big, 0 };

        return std::nullopt;
    }

    bool isHighSurrogate (juce::uint32 unit) { return unit >= 0xd800 && unit <= 0xdbff; }
    bool isLowSurrogate (juce::uint32 unit)  { return unit >= 0xdc00 && unit <= 0xdfff; }

    juce::String decodeUtf16 (const juce::uint8* bytes, size_t size, Utf16Layout layout)
    {
        const auto unitAt = [&] (size_t offset) -> juce::uint32
        {
            const juce::uint32 first = bytes[offset], second = bytes[offset + 1];
            return layout.endianness == Endianness::little ? (second << 8 | first) : (first << 8 | second);
        };

        constexpr juce::juce_wchar replacement = 0xfffd;
        std::vector<juce::juce_wchar> characters;
        characters.reserve (size / 2 + 1);

        for (size_t offset = layout.start; offset + 1 < size; offset += 2)
        {
            const auto unit = unitAt (offset);

            if (unit == 0)
                break;

            if (isHighSurrogate (unit) && offset + 3 < size && isLowSurrogate (unitAt (offset + 2)))
            {
                characters.push_back ((juce::juce_wchar) (0x10000 + ((unit - 0xd800) << 10) + (unitAt (offset + 2) - 0xdc00)));
                offset += 2;
            }
            else
            {
                characters.push_back (isHighSurrogate (unit) || isLowSurrogate (unit) ? replacement : (juce::juce_wchar) unit);
            }
        }

        characters.push_back (0);
        return juce::String (juce::CharPointer_UTF32 (characters.data()));
    }
}

juce::String CatalogueText::decode (const juce::MemoryBlock& data)
{
    const auto* bytes = static_cast<const juce::uint8*> (data.getData());
    const auto size = data.getSize();

    if (const auto layout = utf16LayoutOf (bytes, size))
        return decodeUtf16 (bytes, size, *layout);

    const auto* end = std::find (bytes, bytes + size, juce::uint8 { 0 });

    // Text that is not UTF-8 is read as Windows-1252, as JUCE reads such text files, so
    // that a catalogue saved in that encoding still reads.
    return juce::String::createStringFromData (bytes, (int) (end - bytes));
}
