#pragma once

#include "device/ports/MidiPortSystem.h"
#include "device/ports/MidiTrace.h"

/** Another port system's ports, with every message sent through its outputs and every
    message arriving at its inputs written to a MidiTrace before it goes on. The names,
    indices and behaviour are the other system's own.

    Any thread, as the system it wraps; both it and the trace must outlive every port
    opened through it.
*/
class TracingMidiPortSystem : public MidiPortSystem
{
public:
    TracingMidiPortSystem (MidiPortSystem& portsToTrace, MidiTrace& traceToWrite);

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;
    bool readsInputsApart() const override;

private:
    MidiPortSystem& ports;
    MidiTrace& trace;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TracingMidiPortSystem)
};
