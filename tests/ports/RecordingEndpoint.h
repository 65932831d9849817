#pragma once

#include "sim/ports/VirtualMidiEndpoint.h"
#include "tests/ports/CallRecorder.h"

/** A far side that records each message from the host as its bytes in hex and each
    change of the host's ports as "ports <inputs> <outputs>", and can answer.
*/
class RecordingEndpoint : public VirtualMidiEndpoint
{
public:
    /** Called on the connection's thread. */
    void messageFromHost (const juce::MidiMessage& message) override;
    void hostPortsChanged (int openInputs, int openOutputs) override;

    CallRecorder recorder;

    /** Runs after a message from the host has been recorded. Set it before the host sends. */
    std::function<void (const juce::MidiMessage&)> answer;
};
