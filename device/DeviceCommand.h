#pragma once

#include <juce_core/juce_core.h>

/** The command bytes of the device protocol: requests the host sends and the replies
    the device answers them with.
*/
struct DeviceCommand
{
    static constexpr juce::uint8 IdentityRequest = 0x01;
    static constexpr juce::uint8 IdentityReply = 0x02;
    static constexpr juce::uint8 VersionRequest = 0x08;
    static constexpr juce::uint8 VersionReply = 0x09;
    static constexpr juce::uint8 EnterUpdateMode = 0x71;
    static constexpr juce::uint8 MemoryMapRequest = 0x78;
    static constexpr juce::uint8 MemoryMapReply = 0x79;
    static constexpr juce::uint8 WriteBlock = 0x7A;
    static constexpr juce::uint8 PrepareWrite = 0x7B;
    static constexpr juce::uint8 Ack = 0x7E;
    static constexpr juce::uint8 ErrorReply = 0x7F;
};
