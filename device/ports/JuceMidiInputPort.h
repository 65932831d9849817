#pragma once

#include "device/ports/BoundedMidiCallback.h"
#include "device/ports/MidiInputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** A MidiInputPort over an open juce::MidiInput, opened, started, stopped and closed
    through JuceMidiBackend. JUCE's MIDI input thread calls the callback, passing this
    input as the source; destroying the juce::MidiInput waits for a callback that is
    running.
*/
class JuceMidiInputPort : public MidiInputPort
{
public:
    /** Opens JUCE's input device identifier for callback; nullptr when JUCE cannot. */
    static std::unique_ptr<JuceMidiInputPort> open (const juce::String& identifier, juce::MidiInputCallback& callback);

    /** Tries to open the device; open says whether it did. */
    JuceMidiInputPort (const juce::String& identifier, juce::MidiInputCallback& callback);

    ~JuceMidiInputPort() override;

    void start() override;
    void stop() override;

private:
    BoundedMidiCallback bounded;

    // Declared after the callback it calls, so that it closes first.
    std::unique_ptr<juce::MidiInput> input;

    // Whether JUCE delivers to it now: JuceMidiBackend counts each change once.
    bool running = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiInputPort)
};
