#include "sequencer/wire/WireBuffer.h"

#include "sequencer/wire/WireProtocol.h"

#include <cstring>

static_assert (2 * sizeof (std::int32_t) + sizeof (snd_seq_event_t) + wire::maxVariableBytes <= wire::maxFrameBytes,
               "the largest event must fit in a frame and in an event message");

namespace
{
    bool isVariableLength (const snd_seq_event_t& event)
    {
        return (event.flags & SND_SEQ_EVENT_LENGTH_MASK) != SND_SEQ_EVENT_LENGTH_FIXED;
    }
}

WireBuffer::WireBuffer (std::vector<std::uint8_t> b)
    : bytes (std::move (b))
{
}

WireBuffer& WireBuffer::addInt (std::int32_t value)
{
    const auto* raw = reinterpret_cast<const std::uint8_t*> (&value);
    bytes.insert (bytes.end(), raw, raw + sizeof (value));
    return *this;
}

WireBuffer& WireBuffer::addString (const std::string& text)
{
    const auto size = std::min (text.size(), wire::maxNameBytes);
    addInt ((std::int32_t) size);
    bytes.insert (bytes.end(), text.begin(), text.begin() + (std::ptrdiff_t) size);
    return *this;
}

WireBuffer& WireBuffer::addEvent (const SequencerEvent& event)
{
    auto fixed = event.fixed;
    fixed.data.ext.ptr = nullptr;
    const auto* raw = reinterpret_cast<const std::uint8_t*> (&fixed);
    bytes.insert (bytes.end(), raw, raw + sizeof (fixed));

    if (isVariableLength (fixed))
    {
        addInt ((std::int32_t) event.variable.size());
        bytes.insert (bytes.end(), event.variable.begin(), event.variable.end());
    }

    return *this;
}

bool WireBuffer::readRaw (void* destination, std::size_t size)
{
    if (bytes.size() - readPosition < size)
        return false;

    std::memcpy (destination, bytes.data() + readPosition, size);
    readPosition += size;
    return true;
}

bool WireBuffer::readInt (std::int32_t& value)
{
    return readRaw (&value, sizeof (value));
}

bool WireBuffer::readString (std::string& text)
{
    std::int32_t size = 0;

    if (! readInt (size) || size < 0 || (std::size_t) size > wire::maxNameBytes
         || bytes.size() - readPosition < (std::size_t) size)
        return false;

    text.assign (bytes.begin() + (std::ptrdiff_t) readPosition,
                 bytes.begin() + (std::ptrdiff_t) readPosition + size);
    readPosition += (std::size_t) size;
    return true;
}

bool WireBuffer::readEvent (SequencerEvent& event)
{
    event.variable.clear();

    if (! readRaw (&event.fixed, sizeof (event.fixed)))
        return false;

    event.fixed.data.ext.ptr = nullptr;

    if (! isVariableLength (event.fixed))
        return true;

    std::int32_t size = 0;

    if (! readInt (size) || size < 0 || (std::size_t) size > wire::maxVariableBytes
         || bytes.size() - readPosition < (std::size_t) size)
        return false;

    event.variable.assign (bytes.begin() + (std::ptrdiff_t) readPosition,
                           bytes.begin() + (std::ptrdiff_t) readPosition + size);
    event.fixed.data.ext.len = (unsigned) size;
    readPosition += (std::size_t) size;
    return true;
}
