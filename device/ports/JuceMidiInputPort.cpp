#include "device/ports/JuceMidiInputPort.h"

std::unique_ptr<JuceMidiInputPort> JuceMidiInputPort::open (const juce::String& identifier, juce::MidiInputCallback& callback)
{
    auto port = std::make_unique<JuceMidiInputPort> (identifier, callback);

    if (port->input == nullptr)
        return {};

    return port;
}

JuceMidiInputPort::JuceMidiInputPort (const juce::String& identifier, juce::MidiInputCallback& callback)
    : bounded (callback),
      input (juce::MidiInput::openDevice (identifier, &bounded))
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
