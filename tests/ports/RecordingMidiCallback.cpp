#include "tests/ports/RecordingMidiCallback.h"

#include "tests/ports/TestMessages.h"

void RecordingMidiCallback::handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message)
{
    if (source != nullptr)
        sawSource = true;

    recorder.record (hexOf (message));
}
