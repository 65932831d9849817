#include "tests/ports/RecordingEndpoint.h"

#include "tests/ports/TestMessages.h"

void RecordingEndpoint::messageFromHost (const juce::MidiMessage& message)
{
    recorder.record (hexOf (message));

    if (answer)
        answer (message);
}

void RecordingEndpoint::hostPortsChanged (int openInputs, int openOutputs)
{
    recorder.record ("ports " + juce::String (openInputs) + " " + juce::String (openOutputs));
}
