#include "sim/SimulatedCommand.h"
#include "tests/sim/SimulatedDeviceTest.h"

using simbytes::fromHex;
using simbytes::super7;

namespace
{
    const juce::String calvioIdentityReply = "F0 06 01 05 02 02 00 01 05 02 00 00 43 56 00 2D 35 00 52 65 76 65 00 72 62 20 4F 6E 65 00 59 F7";

    SysexHeader calvioHeader (juce::uint8 deviceId, juce::uint8 familyId, juce::uint8 productId, juce::uint8 command)
    {
        return { 0x0006, 0, deviceId, familyId, productId, command };
    }
}

TEST_F (SimulatedDeviceTest, AnswersABroadcastIdentityRequestForItsFamilyAndProduct)
{
    start (calvio());

    EXPECT_EQ (exchange (fromHex ("F0 06 7F 05 02 01 00 7F 7F 7F 00 F7")), calvioIdentityReply);
}

TEST_F (SimulatedDeviceTest, IgnoresMessagesForAnotherManufacturerFamilyProductOrDeviceId)
{
    start (calvio());
    const Bytes identity { 0x7F, 0x7F, 0x7F };

    const std::vector<Bytes> strangers {
        super7 ({ 0x007D, 0, 0x7F, 0x05, 0x02, 0x01 }, identity),       // another manufacturer
        super7 ({ 0x0006, 1, 0x7F, 0x05, 0x02, 0x01 }, identity),       // 00 00 06, not 06
        super7 (calvioHeader (0x7F, 0x06, 0x02, 0x01), identity),       // another family
        super7 (calvioHeader (0x7F, 0x05, 0x03, 0x01), identity),       // the update product while running normally
        super7 (calvioHeader (0x02, 0x05, 0x02, 0x01), identity),       // another device
        fromHex ("F0 7D 7F 01 02 7A 40 01 02 38 F7")
    };

    for (const auto& message : strangers)
        EXPECT_TRUE (sendAndSettle (message).empty()) << simbytes::hexOf (message);

    EXPECT_EQ (device->getTranscript().getMessages (SimulatedTranscript::Direction::fromHost).size(), strangers.size());
}

TEST_F (SimulatedDeviceTest, AnswersItsOwnDeviceIdAsWellAsTheBroadcastId)
{
    start (calvio());

    EXPECT_EQ (exchange (super7 (calvioHeader (0x01, 0x05, 0x02, 0x01), { 0x7F, 0x7F, 0x7F })), calvioIdentityReply);
}

TEST_F (SimulatedDeviceTest, InUpdateModeAnswersTheUpdateProductIdAndNoLongerTheNormalOne)
{
    auto config = calvio();
    config.startsInUpdateMode = true;
    start (config);

    EXPECT_TRUE (sendAndSettle (request (SimulatedCommand::versionRequest)).empty());
    EXPECT_EQ (exchange (request (SimulatedCommand::versionRequest, {}, true)), "F0 06 01 05 03 09 00 01 05 0C F7");
}

TEST_F (SimulatedDeviceTest, BrismaDeviceAnswersOnlyTheThreeByteManufacturerId)
{
    start (brisma());

    EXPECT_TRUE (sendAndSettle (super7 ({ 0x0010, 0, 0x7F, 0x10, 0x02, 0x08 })).empty());
    EXPECT_EQ (exchange (super7 ({ 0x0010, 1, 0x7F, 0x10, 0x02, 0x08 })), "F0 00 00 10 01 10 02 09 00 01 05 0E F7");
}

TEST_F (SimulatedDeviceTest, IgnoresMessagesThatAreNotWholeSysexMessagesWithAPrefix)
{
    start (calvio());

    EXPECT_TRUE (sendAndSettle ({ 0x90, 0x40, 0x7F }).empty());
    EXPECT_TRUE (sendAndSettle (fromHex ("F0 06 7F 05 02 F7")).empty());
    EXPECT_TRUE (sendAndSettle (fromHex ("F0 06 F7")).empty());
}

TEST_F (SimulatedDeviceTest, TwoDevicesOnOnePortNameEachAnswerOnlyTheirOwnIds)
{
    start (calvio());
    auto otherConfig = calvio();
    otherConfig.familyId = 0x1A;
    otherConfig.deviceId = 0x02;
    SimulatedDevice other (ports, otherConfig);

    EXPECT_EQ (exchange (super7 (calvioHeader (0x7F, 0x1A, 0x02, 0x08))), "F0 06 02 1A 02 09 00 01 05 11 F7");
    ASSERT_TRUE (device->getTranscript().waitUntilHandled (1, SimHost::waitBoundMs));
    EXPECT_TRUE (sentByDevice().empty());
}
