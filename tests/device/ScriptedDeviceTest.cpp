#include "tests/device/ScriptedDeviceTest.h"

#include "device/MidiDeviceScanner.h"

ScriptedDeviceTest::ScriptedDeviceTest()
{
    ports.addInput ("Pedal");
    ports.addOutput ("Pedal");
}

TargetProduct ScriptedDeviceTest::calvioProduct (int updateProductId)
{
    return devicetest::makeProduct (TargetBrand::Calvio, 0x05, 0x02, updateProductId, "Pedal");
}

devicetest::Bytes ScriptedDeviceTest::identityPayload (juce::uint8 deviceId, juce::uint8 mode,
                                                       std::optional<std::string> name)
{
    devicetest::Bytes payload { deviceId, 0x11, 0x22, mode };

    if (name.has_value())
    {
        payload.push_back (0x33);

        for (const auto& text : { std::string ("Model"), *name })
        {
            payload.insert (payload.end(), text.begin(), text.end());
            payload.push_back (0x00);
        }
    }

    return payload;
}

devicetest::Bytes ScriptedDeviceTest::reply (juce::uint8 command, const devicetest::Bytes& payload)
{
    return replyFrom (0x05, 0x02, command, payload);
}

devicetest::Bytes ScriptedDeviceTest::replyFrom (juce::uint8 familyId, juce::uint8 productId,
                                                 juce::uint8 command, const devicetest::Bytes& payload)
{
    return devicetest::superSeven (devicetest::calvioHeader (0x01, familyId, productId, command), payload);
}

std::unique_ptr<MidiTargetDevice> ScriptedDeviceTest::makeDevice (const TargetProduct& product, const ReplyTimeouts& timeouts)
{
    auto device = std::make_unique<MidiTargetDevice> (product, ports, timeouts);
    device->setPortIndices (0, 0);
    return device;
}

std::unique_ptr<MidiTargetDevice> ScriptedDeviceTest::probedDevice (const TargetProduct& product, const ReplyTimeouts& timeouts)
{
    auto device = std::make_unique<MidiTargetDevice> (product, ports, timeouts);
    EXPECT_TRUE (MidiDeviceScanner::probe (*device, 0, 0));
    return device;
}
