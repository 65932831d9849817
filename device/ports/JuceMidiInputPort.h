#pragma once

#include "device/ports/MidiInputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

/** A MidiInputPort over an open juce::MidiInput. JUCE's MIDI input thread calls the
    callback, passing this input as the source; destroying the juce::MidiInput waits
    for a callback that is running.
*/
class JuceMidiInputPort : public MidiInputPort
{
public:
    explicit JuceMidiInputPort (std::unique_ptr<juce::MidiInput> openedInput);

    void start() override;
    void stop() override;

private:
    std::unique_ptr<juce::MidiInput> input;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiInputPort)
};
