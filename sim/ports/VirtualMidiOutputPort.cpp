#include "sim/ports/VirtualMidiOutputPort.h"

#include "sim/ports/VirtualMidiBus.h"

VirtualMidiOutputPort::VirtualMidiOutputPort (std::shared_ptr<VirtualMidiBus> busToUse, const juce::String& portName)
    : bus (std::move (busToUse)),
      name (portName)
{
    bus->outputOpened (name);
}

VirtualMidiOutputPort::~VirtualMidiOutputPort()
{
    bus->outputClosed (name);
}

void VirtualMidiOutputPort::sendMessageNow (const juce::MidiMessage& message)
{
    bus->sendFromHost (name, message);
}
