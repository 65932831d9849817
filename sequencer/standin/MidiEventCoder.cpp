#include "sequencer/standin/MidiEventCoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
    struct StatusKind
    {
        int status;
        snd_seq_event_type_t type;
        int dataBytes;
    };

    // Channel messages by their high nibble, system messages by their whole byte.
    constexpr StatusKind kinds[] {
        { 0x80, SND_SEQ_EVENT_NOTEOFF, 2 },     { 0x90, SND_SEQ_EVENT_NOTEON, 2 },
        { 0xa0, SND_SEQ_EVENT_KEYPRESS, 2 },    { 0xb0, SND_SEQ_EVENT_CONTROLLER, 2 },
        { 0xc0, SND_SEQ_EVENT_PGMCHANGE, 1 },   { 0xd0, SND_SEQ_EVENT_CHANPRESS, 1 },
        { 0xe0, SND_SEQ_EVENT_PITCHBEND, 2 },   { 0xf1, SND_SEQ_EVENT_QFRAME, 1 },
        { 0xf2, SND_SEQ_EVENT_SONGPOS, 2 },     { 0xf3, SND_SEQ_EVENT_SONGSEL, 1 },
        { 0xf6, SND_SEQ_EVENT_TUNE_REQUEST, 0 },{ 0xf8, SND_SEQ_EVENT_CLOCK, 0 },
        { 0xfa, SND_SEQ_EVENT_START, 0 },       { 0xfb, SND_SEQ_EVENT_CONTINUE, 0 },
        { 0xfc, SND_SEQ_EVENT_STOP, 0 },        { 0xfe, SND_SEQ_EVENT_SENSING, 0 },
        { 0xff, SND_SEQ_EVENT_RESET, 0 },
    };

    const StatusKind* kindOfStatus (int status)
    {
        const auto key = status < 0xf0 ? (status & 0xf0) : status;
        const auto found = std::find_if (std::begin (kinds), std::end (kinds), [key] (const auto& k) { return k.status == key; });
        return found != std::end (kinds) ? found : nullptr;
    }

    const StatusKind* kindOfType (int type)
    {
        const auto found = std::find_if (std::begin (kinds), std::end (kinds), [type] (const auto& k) { return k.type == type; });
        return found != std::end (kinds) ? found : nullptr;
    }

    void setFixedLength (snd_seq_event_t& event, snd_seq_event_type_t type)
    {
        event.type = type;
        event.flags = (unsigned char) ((event.flags & ~SND_SEQ_EVENT_LENGTH_MASK) | SND_SEQ_EVENT_LENGTH_FIXED);
    }

    bool isNoteType (int type)
    {
        return type == SND_SEQ_EVENT_NOTEOFF || type == SND_SEQ_EVENT_NOTEON || type == SND_SEQ_EVENT_KEYPRESS;
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
        const auto* kind = kindOfStatus (byte);

        if (kind == nullptr)
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

    const auto* kind = kindOfStatus (byte);
    status = kind != nullptr ? byte : 0;
    needed = kind != nullptr ? kind->dataBytes : 0;
    return kind != nullptr && needed == 0 ? completeMessage (event) : 0;
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
    const auto* kind = kindOfStatus (status);
    setFixedLength (event, kind->type);
    received = 0;

    if (isNoteType (kind->type))
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

        if (size > 0)
            std::memcpy (bytes, event.data.ext.ptr, (std::size_t) size);

        lastStatus = 0;
        return size;
    }

    const auto* kind = kindOfType (event.type);

    if (kind == nullptr)
        return -ENOENT;

    const auto channel = isNoteType (kind->type) ? event.data.note.channel : event.data.control.channel;
    const int statusByte = kind->status < 0xf0 ? (kind->status | (channel & 0x0f)) : kind->status;
    const auto value = event.data.control.value;
    unsigned char message[3] { (unsigned char) statusByte, 0, 0 };

    if (isNoteType (kind->type))
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
    const long size = 1 + kind->dataBytes - (skipStatus ? 1 : 0);

    if (size > count)
        return -ENOMEM;

    std::memcpy (bytes, message + (skipStatus ? 1 : 0), (std::size_t) size);

    if (statusByte < 0xf8)
        lastStatus = statusByte < 0xf0 ? statusByte : 0;

    return size;
}
