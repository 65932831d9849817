#include "device/ports/JuceMidiInputPort.h"

#include "device/ports/JuceMidiBackend.h"

#include <utility>

std::unique_ptr<JuceMidiInputPort> JuceMidiInputPort::open (const juce::String& identifier, juce::MidiInputCallback& callback)
{
    auto port = std::make_unique<JuceMidiInputPort> (identifier, callback);

    if (port->input == nullptr)
        return {};

    return port;
}

JuceMidiInputPort::JuceMidiInputPort (const juce::String& identifier, juce::MidiInputCallback& callback)
    : bounded (callback),
      input (JuceMidiBackend::openInput (identifier, bounded))
{
}

JuceMidiInputPort::~JuceMidiInputPort()
{
    if (input == nullptr)
        return;

    stop();
    JuceMidiBackend::close (std::move (input));
}

void JuceMidiInputPort::start()
{
    if (! std::exchange (running, true))
        JuceMidiBackend::start (*input);
}

void JuceMidiInputPort::stop()
{
    if (std::exchange (running, false))
        JuceMidiBackend::stop (*input);
}
