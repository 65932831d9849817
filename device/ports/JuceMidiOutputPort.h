#pragma once

#include "device/ports/MidiOutputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

/** A MidiOutputPort over an open juce::MidiOutput, closed through JuceMidiBackend. */
class JuceMidiOutputPort : public MidiOutputPort
{
public:
    explicit JuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> openedOutput);
    ~JuceMidiOutputPort() override;

    void sendMessageNow (const juce::MidiMessage& message) override;

private:
    std::unique_ptr<juce::MidiOutput> output;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiOutputPort)
};
