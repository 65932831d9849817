#pragma once

#include "sequencer/SequencerEvent.h"

#include <cstdint>
#include <string>
#include <vector>

/** One frame's bytes, written field by field or read back in the same order. Reading
    never goes past the end and never accepts a string or an event's bytes over the
    protocol's bounds: a read that cannot be satisfied returns false.
*/
class WireBuffer
{
public:
    WireBuffer() = default;
    explicit WireBuffer (std::vector<std::uint8_t> bytes);

    WireBuffer& addInt (std::int32_t value);
    WireBuffer& addString (const std::string& text);
    WireBuffer& addEvent (const SequencerEvent& event);

    bool readInt (std::int32_t& value);
    bool readString (std::string& text);

    /** Reads an event; its ext.ptr, if it is variable-length, is left null. */
    bool readEvent (SequencerEvent& event);

    const std::vector<std::uint8_t>& getBytes() const noexcept   { return bytes; }

private:
    bool readRaw (void* destination, std::size_t size);

    std::vector<std::uint8_t> bytes;
    std::size_t readPosition = 0;
};
