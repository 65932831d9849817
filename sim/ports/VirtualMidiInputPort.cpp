#include "sim/ports/VirtualMidiInputPort.h"

#include "sim/ports/VirtualMidiBus.h"

VirtualMidiInputPort::VirtualMidiInputPort (std::shared_ptr<VirtualMidiBus> busToUse,
                                            const juce::String& portName,
                                            juce::MidiInputCallback& callbackToUse)
    : bus (std::move (busToUse)),
      name (portName),
      callback (callbackToUse),
      delivery ("Virtual MIDI input " + portName)
{
    bus->inputOpened (name);
}

VirtualMidiInputPort::~VirtualMidiInputPort()
{
    stop();
    bus->inputClosed (name);
}

void VirtualMidiInputPort::start()
{
    bus->startListening (name, *this);
}

void VirtualMidiInputPort::stop()
{
    bus->stopListening (name, *this);
    delivery.discardPending();
}

void VirtualMidiInputPort::deliverFromFarSide (const juce::MidiMessage& message)
{
    // Dropped before it is copied into the queue, as the input of a real port would.
    if (isOversizedSysex (message))
        return;

    auto arrived = message;
    arrived.setTimeStamp (juce::Time::getMillisecondCounter() * 0.001);
    delivery.post ([this, arrived] { callback.handleIncomingMidiMessage (nullptr, arrived); });
}
