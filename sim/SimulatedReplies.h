#pragma once

#include "device/sysex/SysexHeader.h"
#include "sim/SimulatedDeviceConfig.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The messages a simulated device sends, built as the host expects them: Super7 SysEx
    under the device's manufacturer ID, device ID, family ID and the product ID of the
    mode it is in (update mode: updateProductId).
*/
class SimulatedReplies
{
public:
    explicit SimulatedReplies (const SimulatedDeviceConfig& config);

    /** The manufacturer ID and its form for the configured brand; both 0 for Other. */
    static SysexHeader manufacturerOf (TargetBrand brand) noexcept;

    juce::MidiMessage identityReply (bool inUpdateMode) const;
    juce::MidiMessage versionReply (bool inUpdateMode) const;
    /** The map's regions; the count says regionsNotCarried more than follow it. */
    juce::MidiMessage memoryMapReply (bool inUpdateMode, int regionsNotCarried = 0) const;
    juce::MidiMessage ack (bool inUpdateMode) const;
    juce::MidiMessage errorReply (bool inUpdateMode, juce::uint8 rejectedCommand, juce::uint8 errorCode) const;

    /** A message of the device's own that answers nothing. */
    juce::MidiMessage unsolicited (bool inUpdateMode) const;

    /** A message of another maker's device (manufacturer ID 7D, for no one's
        products) with the device's other IDs, answering nothing.
    */
    juce::MidiMessage fromStranger (bool inUpdateMode) const;

    /** F0, the manufacturer ID and F7: a message that ends before its prefix. */
    juce::MidiMessage truncated() const;

    /** The command byte of a message built here. */
    static juce::uint8 commandOf (const juce::MidiMessage& message) noexcept;

    /** message with the lowest bit of its checksum flipped. */
    static juce::MidiMessage withBadChecksum (const juce::MidiMessage& message);

    /** message, built here, under the next family ID, its checksum made to match. */
    static juce::MidiMessage withNextFamilyId (const juce::MidiMessage& message);

private:
    SysexHeader headerFor (bool inUpdateMode, juce::uint8 command) const noexcept;

    const SimulatedDeviceConfig& config;
};
