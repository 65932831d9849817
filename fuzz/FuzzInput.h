#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <cstdint>
#include <vector>

/** The entry point libFuzzer calls with each input; every target defines it. */
extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size);

/** A fuzz input read from the front, field by field, so that the seed corpus can be
    written by a script in the same order. Reading past the end gives zeros (or fewer
    bytes), never a failure: every input is a valid case.

    A plain value that owns a copy of the bytes; one thread at a time reads it.
*/
class FuzzInput
{
public:
    using Bytes = std::vector<juce::uint8>;

    FuzzInput (const std::uint8_t* data, std::size_t size);

    bool isExhausted() const noexcept;

    juce::uint8 byte() noexcept;
    juce::uint16 bigEndian16() noexcept;
    juce::uint32 bigEndian32() noexcept;

    /** Up to count bytes: fewer when the input ends first. */
    Bytes bytes (std::size_t count);

    /** As many bytes as the next byte says. */
    Bytes counted();

    /** Everything not read yet. */
    Bytes rest();

private:
    Bytes data;
    std::size_t position = 0;
};
