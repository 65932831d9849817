#pragma once

#include "sequencer/SequencerEvent.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The other way round: the byte stream a device's MIDI input receives for the events
    sent to its port, as whole messages. SysEx pieces are joined until F7; a status byte
    other than a real-time one ends a SysEx without completing it (the device drops it,
    as a UART's receiver does), and real-time bytes pass through at once. Used by one
    thread at a time.
*/
class SequencerMessageJoiner
{
public:
    /** A device's receive buffer: a longer SysEx is dropped whole. */
    static constexpr size_t maxSysexBytes = 64 * 1024;

    /** The messages event completes, in order; often none. */
    std::vector<juce::MidiMessage> join (const SequencerEvent& event);

private:
    void takeSysexByte (juce::uint8 byte, std::vector<juce::MidiMessage>& complete);
    void takeShortMessage (const snd_seq_event_t& event, std::vector<juce::MidiMessage>& complete);

    std::vector<juce::uint8> sysex;
    bool inSysex = false;
    bool overrun = false;
};
