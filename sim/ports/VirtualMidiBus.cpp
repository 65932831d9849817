#include "sim/ports/VirtualMidiBus.h"

#include "sim/ports/VirtualEndpointConnection.h"
#include "sim/ports/VirtualMidiInputPort.h"

void VirtualMidiBus::inputOpened (const juce::String& name)
{
    changeOpenCount (name, &Wire::openInputs, 1);
}

void VirtualMidiBus::inputClosed (const juce::String& name)
{
    changeOpenCount (name, &Wire::openInputs, -1);
}

void VirtualMidiBus::outputOpened (const juce::String& name)
{
    changeOpenCount (name, &Wire::openOutputs, 1);
}

void VirtualMidiBus::outputClosed (const juce::String& name)
{
    changeOpenCount (name, &Wire::openOutputs, -1);
}

void VirtualMidiBus::startListening (const juce::String& name, VirtualMidiInputPort& input)
{
    const juce::ScopedLock sl (lock);
    wires[name].listeningInputs.addIfNotAlreadyThere (&input);
}

void VirtualMidiBus::stopListening (const juce::String& name, VirtualMidiInputPort& input)
{
    const juce::ScopedLock sl (lock);
    wires[name].listeningInputs.removeFirstMatchingValue (&input);
}

void VirtualMidiBus::attach (const juce::String& name, VirtualEndpointConnection& connection)
{
    const juce::ScopedLock sl (lock);
    auto& wire = wires[name];
    wire.connections.add (&connection);
    connection.deliverPortsChanged (wire.openInputs, wire.openOutputs);
}

void VirtualMidiBus::detach (const juce::String& name, VirtualEndpointConnection& connection)
{
    const juce::ScopedLock sl (lock);
    wires[name].connections.removeFirstMatchingValue (&connection);
}

void VirtualMidiBus::sendFromHost (const juce::String& name, const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (lock);

    for (auto* connection : wires[name].connections)
        connection->deliverFromHost (message);
}

void VirtualMidiBus::sendToHost (const juce::String& name, const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (lock);

    for (auto* input : wires[name].listeningInputs)
        input->deliverFromFarSide (message);
}

void VirtualMidiBus::changeOpenCount (const juce::String& name, int Wire::* count, int change)
{
    const juce::ScopedLock sl (lock);
    auto& wire = wires[name];
    wire.*count += change;

    for (auto* connection : wire.connections)
        connection->deliverPortsChanged (wire.openInputs, wire.openOutputs);
}
