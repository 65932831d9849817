#pragma once

#include "device/sysex/SysexHeader.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <optional>
#include <vector>

/** A message from the host as a device reads it: its prefix, command and unpacked
    payload. A message whose checksum fails, or that ends too early, is still a
    request, not intact, with an empty payload: the device may refuse it.
*/
struct SimulatedRequest
{
    /** Reads message when it is a whole SysEx message of the Super7 form under the
        manufacturer ID of the given header (manufacturerId, extendedId), with all four
        prefix bytes; nothing otherwise.
    */
    static std::optional<SimulatedRequest> parse (const juce::MidiMessage& message, const SysexHeader& manufacturer);

    juce::uint8 deviceId = 0;
    juce::uint8 familyId = 0;
    juce::uint8 productId = 0;
    juce::uint8 command = 0;
    std::vector<juce::uint8> payload;
    bool intact = true;
};
