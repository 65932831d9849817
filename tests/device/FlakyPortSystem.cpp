#include "tests/device/FlakyPortSystem.h"

FlakyPortSystem::FlakyPortSystem (MidiPortSystem& portsToUse)
    : ports (portsToUse)
{
}

void FlakyPortSystem::failInputsAfter (int count)
{
    inputOpeningsLeft = count;
}

juce::StringArray FlakyPortSystem::getInputNames()
{
    return ports.getInputNames();
}

juce::StringArray FlakyPortSystem::getOutputNames()
{
    return ports.getOutputNames();
}

std::unique_ptr<MidiInputPort> FlakyPortSystem::openInput (int index, juce::MidiInputCallback& callback)
{
    if (inputOpeningsLeft == 0)
        return {};

    if (inputOpeningsLeft > 0)
        --inputOpeningsLeft;

    return ports.openInput (index, callback);
}

std::unique_ptr<MidiOutputPort> FlakyPortSystem::openOutput (int index)
{
    return ports.openOutput (index);
}
