#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <vector>

/** A snd_midi_event_t: turns a MIDI byte stream into sequencer events (running status,
    SysEx gathered into a buffer of the size it was made with, a full buffer sent on as
    one event while gathering goes on) and events back into bytes.
*/
class MidiEventCoder
{
public:
    explicit MidiEventCoder (std::size_t bufferSize);

    void resetEncode() noexcept;
    void resetDecode() noexcept     { lastStatus = 0; }

    /** 1 when byte completed event, else 0. */
    int encodeByte (int byte, snd_seq_event_t& event);

    /** The bytes consumed, up to and including the one that completed event; all of
        them, with event's type NONE, when none did.
    */
    long encode (const unsigned char* bytes, long count, snd_seq_event_t& event);

    /** The bytes written; -ENOMEM when they would not fit count, -ENOENT for an event
        that is not a MIDI message.
    */
    long decode (unsigned char* bytes, long count, const snd_seq_event_t& event);

private:
    int startStatus (int status, snd_seq_event_t& event);
    int gatherSysex (int byte, snd_seq_event_t& event);
    int completeMessage (snd_seq_event_t& event);
    void emitSysex (snd_seq_event_t& event);

    std::vector<std::uint8_t> sysex;
    std::size_t gathered = 0;
    bool inSysex = false;
    int status = 0, needed = 0, received = 0;
    std::uint8_t data[2] {};
    int lastStatus = 0;
};

/** What alsa-lib's callers hold as snd_midi_event_t. */
struct snd_midi_event : public MidiEventCoder
{
    using MidiEventCoder::MidiEventCoder;
};
