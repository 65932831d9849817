#include "device/ports/JuceMidiOutputPort.h"

#include "device/ports/JuceMidiBackend.h"

JuceMidiOutputPort::JuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> openedOutput)
    : output (std::move (openedOutput))
{
    jassert (output != nullptr);
}

JuceMidiOutputPort::~JuceMidiOutputPort()
{
    JuceMidiBackend::close (std::move (output));
}

void JuceMidiOutputPort::sendMessageNow (const juce::MidiMessage& message)
{
    JuceMidiBackend::send (*output, message);
}
