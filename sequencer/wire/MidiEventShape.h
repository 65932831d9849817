#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <optional>

/** How one short MIDI message (anything but SysEx) and a sequencer event carry the
    same thing: the event's type for the message's status byte, and where its data bytes
    go in the event. One table serves both directions and both ends of the test
    sequencer (the stand-in's snd_midi_event calls and the devices' driver), so they
    cannot drift apart.
*/
struct MidiEventShape
{
    enum class Layout
    {
        none,           // the status byte alone
        note,           // channel, note, velocity
        controller,     // channel, parameter, value
        value,          // channel (if any) and one data byte as the value
        pitchBend,      // channel and a 14-bit value centred on 0
        songPosition    // a 14-bit value, low seven bits first
    };

    /** The status byte, its channel nibble zero for a channel message. */
    std::uint8_t status;
    snd_seq_event_type_t type;
    Layout layout;

    bool isChannelMessage() const noexcept    { return status < 0xf0; }

    /** How many data bytes follow the status byte. */
    int dataBytes() const noexcept;

    /** The shape of the message starting with statusByte, if it is a short message
        a MIDI cable carries (not SysEx, not an undefined status).
    */
    static std::optional<MidiEventShape> forStatus (std::uint8_t statusByte) noexcept;

    /** The shape of an event of type, if it is a short MIDI message. */
    static std::optional<MidiEventShape> forType (snd_seq_event_type_t type) noexcept;
};
