#include "sequencer/standin/MidiEventCoder.h"

#include "sequencer/wire/MidiEventShape.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
    void setFixedLength (snd_seq_event_t& event, snd_seq_event_type_t type)
    {
        event.type = type;
        event.flags = (unsigned char) ((event.flags & ~SND_SEQ_EVENT_LENGTH_MASK) | SND_SEQ_EVENT_LENGTH_FIXED);
    }
}

MidiEventCoder::MidiEventCoder (std::size_t bufferSize)
    : sysex (std::max<std::size_t> (bufferSize, 1))
{
}

void MidiEventCoder::resetEncode() noexcept
{
    gathered = 0;
    inSysex = false;
    status = needed = received = 0;
}

int MidiEventCoder::encodeByte (int byte, snd_seq_event_t& event)
{
    byte &= 0xff;

    if (byte >= 0xf8)
    {
        // Real-time messages come between any bytes and leave the message around them alone.
        const auto kind = MidiEventShape::forStatus ((std::uint8_t) byte);

        if (! kind.has_value())
            return 0;

        setFixedLength (event, kind->type);
        return 1;
    }

    if (byte == 0xf7 && inSysex)
    {
        sysex[gathered++] = 0xf7;
        emitSysex (event);
        inSysex = false;
        status = 0;
        return 1;
    }

    if (byte >= 0x80)
        return startStatus (byte, event);

    if (inSysex)
        return gatherSysex (byte, event);

    if (status == 0)
        return 0;

    data[received++] = (std::uint8_t) byte;
    return received == needed ? completeMessage (event) : 0;
}

int MidiEventCoder::startStatus (int byte, snd_seq_event_t& event)
{
    inSysex = byte == 0xf0;
    gathered = 0;
    received = 0;

    if (inSysex)
        return gatherSysex (byte, event);

    const auto kind = MidiEventShape::forStatus ((std::uint8_t) byte);
    status = kind.has_value() ? byte : 0;
    needed = kind.has_value() ? kind->dataBytes() : 0;
    return kind.has_value() && needed == 0 ? completeMessage (event) : 0;
}

int MidiEventCoder::gatherSysex (int byte, snd_seq_event_t& event)
{
    sysex[gathered++] = (std::uint8_t) byte;

    // A full buffer goes on as it is; the rest of the SysEx follows in the next events.
    if (gathered < sysex.size())
        return 0;

    emitSysex (event);
    gathered = 0;
    return 1;
}

void MidiEventCoder::emitSysex (snd_seq_event_t& event)
{
    event.type = SND_SEQ_EVENT_SYSEX;
    event.flags = (unsigned char) ((event.flags & ~SND_SEQ_EVENT_LENGTH_MASK) | SND_SEQ_EVENT_LENGTH_VARIABLE);
    event.data.ext.len = (unsigned) gathered;
    event.data.ext.ptr = sysex.data();
}

int MidiEventCoder::completeMessage (snd_seq_event_t& event)
{
    const auto kind = MidiEventShape::forStatus ((std::uint8_t) status);
    setFixedLength (event, kind->type);
    received = 0;

    if (kind->layout == MidiEventShape::Layout::note)
    {
        event.data.note.channel = (unsigned char) (status & 0x0f);
        event.data.note.note = data[0];
        event.data.note.velocity = data[1];
    }
    else
    {
        event.data.control.channel = (unsigned char) (status & 0x0f);
        event.data.control.param = kind->type == SND_SEQ_EVENT_CONTROLLER ? data[0] : 0;
        const int fourteenBits = data[0] | (data[1] << 7);

        switch (kind->type)
        {
            case SND_SEQ_EVENT_CONTROLLER:  event.data.control.value = data[1]; break;
            case SND_SEQ_EVENT_PITCHBEND:   event.data.control.value = fourteenBits - 8192; break;
            case SND_SEQ_EVENT_SONGPOS:     event.data.control.value = fourteenBits; break;
            default:                        event.data.control.value = data[0]; break;
        }
    }

    // System common messages end running status.
    if (status >= 0xf0)
        status = 0;

    return 1;
}

long MidiEventCoder::encode (const unsigned char* bytes, long count, snd_seq_event_t& event)
{
    for (long i = 0; i < count; ++i)
        if (encodeByte (bytes[i], event) > 0)
            return i + 1;

    event.type = SND_SEQ_EVENT_NONE;
    return count;
}

long MidiEventCoder::decode (unsigned char* bytes, long count, const snd_seq_event_t& event)
{
    if (event.type == SND_SEQ_EVENT_SYSEX)
    {
        const auto size = (long) event.data.ext.len;

        if (size > count)
            return -ENOMEM;

        if (size > 0 && event.data.ext.ptr == nullptr)
            return -EINVAL;

        if (size > 0)
            std::memcpy (bytes, event.data.ext.ptr, (std::size_t) size);

        lastStatus = 0;
        return size;
    }

    const auto kind = MidiEventShape::forType (event.type);

    if (! kind.has_value())
        return -ENOENT;

    const auto channel = kind->layout == MidiEventShape::Layout::note ? event.data.note.channel : event.data.control.channel;
    const int statusByte = kind->status < 0xf0 ? (kind->status | (channel & 0x0f)) : kind->status;
    const auto value = event.data.control.value;
    unsigned char message[3] { (unsigned char) statusByte, 0, 0 };

    if (kind->layout == MidiEventShape::Layout::note)
    {
        message[1] = event.data.note.note & 0x7f;
        message[2] = event.data.note.velocity & 0x7f;
    }
    else if (kind->type == SND_SEQ_EVENT_CONTROLLER)
    {
        message[1] = (unsigned char) (event.data.control.param & 0x7f);
        message[2] = (unsigned char) (value & 0x7f);
    }
    else
    {
        const auto fourteenBits = kind->type == SND_SEQ_EVENT_PITCHBEND ? value + 8192 : value;
        message[1] = (unsigned char) (fourteenBits & 0x7f);
        message[2] = (unsigned char) ((fourteenBits >> 7) & 0x7f);
    }

    // Running status: a channel message with the previous one's status leaves it out.
    const auto skipStatus = statusByte < 0xf0 && statusByte == lastStatus;
    const long size = 1 + kind->dataBytes() - (skipStatus ? 1 : 0);

    if (size > count)
        return -ENOMEM;

    std::memcpy (bytes, message + (skipStatus ? 1 : 0), (std::size_t) size);

    if (statusByte < 0xf8)
        lastStatus = statusByte < 0xf0 ? statusByte : 0;

    return size;
}
