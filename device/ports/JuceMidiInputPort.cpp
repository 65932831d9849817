#include "device/ports/JuceMidiInputPort.h"

std::unique_ptr<JuceMidiInputPort> JuceMidiInputPort::open (const juce::String& identifier, juce::MidiInputCallback& callback)
{
    auto port = std::make_unique<JuceMidiInputPort> (callback);
    port->input = juce::MidiInput::openDevice (identifier, &port->bounded);

    if (port->input == nullptr)
        return {};

    return port;
}

JuceMidiInputPort::JuceMidiInputPort (juce::MidiInputCallback& callback)
    : bounded (callback)
{
}

void JuceMidiInputPort::start()
{
    input->start();
}

void JuceMidiInputPort::stop()
{
    input->stop();
}
