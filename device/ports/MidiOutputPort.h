#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** An open MIDI output of a MidiPortSystem. Destroying it closes it.
    Owned and driven by one thread at a time (the worker that drives a device).
*/
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    /** Sends message at once. It returns without waiting for the receiver to handle it. */
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;
};
