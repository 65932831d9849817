#include "device/ports/JuceMidiInputPort.h"

JuceMidiInputPort::JuceMidiInputPort (std::unique_ptr<juce::MidiInput> openedInput)
    : input (std::move (openedInput))
{
    jassert (input != nullptr);
}

void JuceMidiInputPort::start()
{
    input->start();
}

void JuceMidiInputPort::stop()
{
    input->stop();
}
