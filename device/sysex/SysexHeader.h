#pragma once

#include <juce_core/juce_core.h>

/** The addressing bytes a device message is built from. */
struct SysexHeader
{
    juce::uint16 manufacturerId = 0;
    juce::uint8 extendedId = 0;   // 1: three-byte manufacturer ID on the wire, 0: one byte
    juce::uint8 deviceId = 0;
    juce::uint8 familyId = 0;
    juce::uint8 productId = 0;
    juce::uint8 command = 0;
};
