#include "fuzz/FuzzInput.h"

#include <algorithm>

FuzzInput::FuzzInput (const std::uint8_t* dataToRead, std::size_t size)
    : data (dataToRead, dataToRead + size)
{
}

bool FuzzInput::isExhausted() const noexcept
{
    return position >= data.size();
}

juce::uint8 FuzzInput::byte() noexcept
{
    return isExhausted() ? 0 : data[position++];
}

juce::uint16 FuzzInput::bigEndian16() noexcept
{
    const auto high = byte();
    return (juce::uint16) ((high << 8) | byte());
}

juce::uint32 FuzzInput::bigEndian32() noexcept
{
    const juce::uint32 high = bigEndian16();
    return (high << 16) | bigEndian16();
}

FuzzInput::Bytes FuzzInput::bytes (std::size_t count)
{
    const auto taken = std::min (count, data.size() - std::min (position, data.size()));
    const auto first = data.begin() + (std::ptrdiff_t) position;
    position += taken;
    return { first, first + (std::ptrdiff_t) taken };
}

FuzzInput::Bytes FuzzInput::counted()
{
    return bytes (byte());
}

FuzzInput::Bytes FuzzInput::rest()
{
    return bytes (data.size());
}
