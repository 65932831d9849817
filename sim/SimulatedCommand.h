#pragma once

#include <juce_core/juce_core.h>

/** The command bytes of the device protocol, as a device hears and answers them. */
namespace SimulatedCommand
{
    constexpr juce::uint8 identityRequest = 0x01;
    constexpr juce::uint8 identityReply = 0x02;
    constexpr juce::uint8 versionRequest = 0x08;
    constexpr juce::uint8 versionReply = 0x09;
    constexpr juce::uint8 enterUpdateMode = 0x71;
    constexpr juce::uint8 memoryMapRequest = 0x78;
    constexpr juce::uint8 memoryMapReply = 0x79;
    constexpr juce::uint8 writeBlock = 0x7A;
    constexpr juce::uint8 prepareWrite = 0x7B;
    constexpr juce::uint8 ack = 0x7E;
    constexpr juce::uint8 errorReply = 0x7F;

    /** A notification of the device's own that no host request is answered with. */
    constexpr juce::uint8 unsolicited = 0x20;
}

/** The error codes a simulated device puts into its ErrorReply. */
namespace SimulatedErrorCode
{
    constexpr juce::uint8 notImplemented = 0;
    constexpr juce::uint8 outOfRange = 5;
    constexpr juce::uint8 corruptData = 7;
    constexpr juce::uint8 invalidReceiveSize = 9;
    constexpr juce::uint8 bufferOverrun = 10;
    constexpr juce::uint8 wrongMode = 11;
    constexpr juce::uint8 failed = 12;
    constexpr juce::uint8 invalidData = 13;
}
