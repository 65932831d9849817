#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

/** Hands what JUCE's MIDI input delivers on to another callback, except SysEx messages
    longer than MidiInputPort::maxSysexBytes.

    JUCE assembles a SysEx message in a buffer of its own before it calls anyone, and
    reports the pieces as they come in through handlePartialSysexMessage; it cannot be
    told to stop. So an oversized message is left to JUCE's buffer alone: its pieces are
    no longer passed on once they pass the bound, and the whole message is dropped
    unread when it completes.

    Called on JUCE's MIDI input thread only.
*/
class BoundedMidiCallback : public juce::MidiInputCallback
{
public:
    explicit BoundedMidiCallback (juce::MidiInputCallback& receiverToUse);

    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;
    void handlePartialSysexMessage (juce::MidiInput* source, const juce::uint8* data, int size, double time) override;

private:
    juce::MidiInputCallback& receiver;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BoundedMidiCallback)
};
