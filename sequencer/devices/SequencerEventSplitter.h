#pragma once

#include "sequencer/SequencerKernel.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** What the kernel's MIDI driver makes of the bytes a USB-MIDI device sends: one event
    for each short message, and a SysEx cut into events of at most a piece's bytes (the
    first starting with F0, the last ending with F7), so that whoever reads the port has
    to join them again.
*/
struct SequencerEventSplitter
{
    /** The most the driver puts into one event. */
    static constexpr size_t maxSysexPiece = 256;

    /** What a USB-MIDI interface hands on of a SysEx coming in at its DIN socket: the
        bytes of one 1 ms USB frame, at DIN speed one USB-MIDI packet of three bytes.
    */
    static constexpr size_t dinSysexPiece = 3;

    /** The events for message, sent directly from source to its subscribers, a SysEx in
        pieces of at most sysexPiece bytes. Empty for a message no MIDI cable carries (a
        meta event, an undefined status).
    */
    static std::vector<SequencerEvent> eventsFor (const juce::MidiMessage& message, snd_seq_addr_t source,
                                                  size_t sysexPiece = maxSysexPiece);
};
