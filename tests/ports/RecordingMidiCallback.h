#pragma once

#include "tests/ports/CallRecorder.h"

#include <juce_audio_devices/juce_audio_devices.h>

/** A host's input callback that records each message as its bytes in hex. */
class RecordingMidiCallback : public juce::MidiInputCallback
{
public:
    /** Called on the input's delivery thread. */
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    CallRecorder recorder;
    std::atomic<bool> sawSource { false };
};
