#pragma once

#include "device/MidiTargetDevice.h"
#include "sim/ports/VirtualMidiPortSystem.h"
#include "tests/device/ScriptedEndpoint.h"

#include <gtest/gtest.h>

#include <optional>

/** One port name, "Pedal", as input 0 and output 0, with a scripted far side: tests
    prepare the exact reply bytes and read the exact bytes the device code sent.
*/
class ScriptedDeviceTest : public ::testing::Test
{
protected:
    ScriptedDeviceTest();

    /** A Calvio product of family 0x05, product 0x02, update product updateProductId. */
    static TargetProduct calvioProduct (int updateProductId = 0x02);

    /** The payload of an IdentityReply: device ID, two bytes, the mode byte, and when a
        name is given the extra byte, a model text and the name.
    */
    static devicetest::Bytes identityPayload (juce::uint8 deviceId, juce::uint8 mode,
                                              std::optional<std::string> name = std::nullopt);

    /** A whole reply message from device ID 01 of the Calvio product 05/02. */
    static devicetest::Bytes reply (juce::uint8 command, const devicetest::Bytes& payload);

    /** A whole reply message from device ID 01 of another Calvio product: the host
        takes only replies headed with the IDs it asked.
    */
    static devicetest::Bytes replyFrom (juce::uint8 familyId, juce::uint8 productId,
                                        juce::uint8 command, const devicetest::Bytes& payload);

    /** A device of product, with its ports set to the scripted pair. */
    std::unique_ptr<MidiTargetDevice> makeDevice (const TargetProduct& product, const ReplyTimeouts& timeouts = {});

    /** A device of product, probed through the answers prepared so far; fails the test
        when the probe fails.
    */
    std::unique_ptr<MidiTargetDevice> probedDevice (const TargetProduct& product, const ReplyTimeouts& timeouts = {});

    VirtualMidiPortSystem ports;
    ScriptedEndpoint endpoint { ports, "Pedal" };
};
