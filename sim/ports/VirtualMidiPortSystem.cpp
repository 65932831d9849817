#include "sim/ports/VirtualMidiPortSystem.h"

#include "sim/ports/VirtualMidiBus.h"
#include "sim/ports/VirtualMidiInputPort.h"
#include "sim/ports/VirtualMidiOutputPort.h"

VirtualMidiPortSystem::VirtualMidiPortSystem()
    : bus (std::make_shared<VirtualMidiBus>())
{
}

int VirtualMidiPortSystem::addInput (const juce::String& name)
{
    return inputs.add (name);
}

int VirtualMidiPortSystem::addOutput (const juce::String& name)
{
    return outputs.add (name);
}

void VirtualMidiPortSystem::setInputFailsToOpen (int index, bool shouldFail)
{
    inputs.setFailsToOpen (index, shouldFail);
}

void VirtualMidiPortSystem::setOutputFailsToOpen (int index, bool shouldFail)
{
    outputs.setFailsToOpen (index, shouldFail);
}

std::unique_ptr<VirtualEndpointConnection> VirtualMidiPortSystem::attach (const juce::String& portName,
                                                                          VirtualMidiEndpoint& endpoint)
{
    return std::make_unique<VirtualEndpointConnection> (bus, portName, endpoint);
}

juce::StringArray VirtualMidiPortSystem::getInputNames()
{
    return inputs.getNames();
}

juce::StringArray VirtualMidiPortSystem::getOutputNames()
{
    return outputs.getNames();
}

std::unique_ptr<MidiInputPort> VirtualMidiPortSystem::openInput (int index, juce::MidiInputCallback& callback)
{
    if (const auto name = inputs.nameToOpen (index))
        return std::make_unique<VirtualMidiInputPort> (bus, *name, callback);

    return {};
}

std::unique_ptr<MidiOutputPort> VirtualMidiPortSystem::openOutput (int index)
{
    if (const auto name = outputs.nameToOpen (index))
        return std::make_unique<VirtualMidiOutputPort> (bus, *name);

    return {};
}
