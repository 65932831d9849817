#include "tests/soak/SoakStep.h"

#include "device/DeviceCommand.h"

juce::String SoakStep::label() const
{
    auto text = juce::String::toHexString (command).toUpperCase().paddedLeft ('0', 2);

    if (command == DeviceCommand::WriteBlock)
        text << "@0x" << juce::String::toHexString ((juce::int64) address).toUpperCase();

    return text;
}
