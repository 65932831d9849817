#include "sim/ports/VirtualEndpointConnection.h"

#include "sim/ports/VirtualMidiBus.h"

VirtualEndpointConnection::VirtualEndpointConnection (std::shared_ptr<VirtualMidiBus> busToUse,
                                                      const juce::String& name,
                                                      VirtualMidiEndpoint& endpointToCall)
    : bus (std::move (busToUse)),
      portName (name),
      endpoint (endpointToCall),
      delivery ("Virtual MIDI endpoint " + name)
{
    bus->attach (portName, *this);
}

VirtualEndpointConnection::~VirtualEndpointConnection()
{
    bus->detach (portName, *this);
}

void VirtualEndpointConnection::sendToHost (const juce::MidiMessage& message)
{
    bus->sendToHost (portName, message);
}

void VirtualEndpointConnection::deliverFromHost (const juce::MidiMessage& message)
{
    auto sent = message;
    sent.setTimeStamp (juce::Time::getMillisecondCounterHiRes() * 0.001);
    delivery.post ([this, sent] { endpoint.messageFromHost (sent); });
}

void VirtualEndpointConnection::deliverPortsChanged (int openInputs, int openOutputs)
{
    delivery.post ([this, openInputs, openOutputs] { endpoint.hostPortsChanged (openInputs, openOutputs); });
}
