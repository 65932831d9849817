#include "device/DeviceCommand.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/device/ScriptedDeviceTest.h"

class DeviceWireFormat : public ScriptedDeviceTest
{};

TEST_F (DeviceWireFormat, BrismaDeviceInUpdateModeGetsItsBlockUnderTheUpdateHeader)
{
    const auto product = devicetest::makeProduct (TargetBrand::Brisma, 0x10, 0x07, 0x03, "Pedal");
    const devicetest::Bytes memoryMap { 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x20, 0x00, 0x00, 0x00, 0x00, 0x04 };
    const auto fromBrisma = [] (juce::uint8 productId, juce::uint8 command, const devicetest::Bytes& payload)
    {
        return devicetest::superSeven (devicetest::brismaHeader (0x01, 0x10, productId, command), payload);
    };

    endpoint.thenAnswer ({ fromBrisma (0x07, DeviceCommand::IdentityReply, identityPayload (0x01, 0x01)) });
    endpoint.thenAnswer ({ fromBrisma (0x03, DeviceCommand::Ack, {}) });
    endpoint.thenAnswer ({ fromBrisma (0x03, DeviceCommand::MemoryMapReply, memoryMap) });
    endpoint.thenAnswer ({ fromBrisma (0x03, DeviceCommand::Ack, {}) });
    const auto device = probedDevice (product);

    const auto image = ImageFileBuilder().addRecord (0x12000, { 0x80, 0x01, 0xFF, 0x7F }).getFile();
    juce::MemoryInputStream stream (image, false);
    device->update (stream, nullptr, nullptr);

    EXPECT_EQ (endpoint.getReceived(), (std::vector<std::string> {
                                           "F0 00 00 10 7F 10 07 01 00 7F 7F 7F 06 F7",
                                           "F0 00 00 10 01 10 03 7B 00 00 79 F7",
                                           "F0 00 00 10 01 10 03 78 7A F7",
                                           "F0 00 00 10 01 10 03 7A 01 00 01 20 00 00 04 00 20 01 7F 7F 7D F7" }));
}
