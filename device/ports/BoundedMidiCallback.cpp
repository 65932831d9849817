#include "device/ports/BoundedMidiCallback.h"

#include "device/ports/MidiInputPort.h"

BoundedMidiCallback::BoundedMidiCallback (juce::MidiInputCallback& receiverToUse)
    : receiver (receiverToUse)
{
}

void BoundedMidiCallback::handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message)
{
    if (! MidiInputPort::isOversizedSysex (message))
        receiver.handleIncomingMidiMessage (source, message);
}

void BoundedMidiCallback::handlePartialSysexMessage (juce::MidiInput* source, const juce::uint8* data, int size, double time)
{
    // size counts the bytes so far, F0 included; the closing F7 is still to come.
    if (size < MidiInputPort::maxSysexBytes)
        receiver.handlePartialSysexMessage (source, data, size, time);
}
