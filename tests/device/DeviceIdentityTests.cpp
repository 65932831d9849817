#include "device/DeviceCommand.h"
#include "device/MidiDeviceScanner.h"
#include "tests/device/DeviceWorker.h"
#include "tests/device/ScriptedDeviceTest.h"
#include "tests/device/ShortReplyTimeouts.h"

using devicetest::Bytes;

class DeviceIdentity : public ScriptedDeviceTest
{};

TEST_F (DeviceIdentity, RequestGoesOutUnderTheNormalHeaderToAnyDevice)
{
    endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, identityPayload (0x03, 0x01)) });
    const auto device = probedDevice (calvioProduct());

    EXPECT_EQ (endpoint.getReceived(), std::vector<std::string> { "F0 06 7F 05 02 01 00 7F 7F 7F 00 F7" });
}

TEST_F (DeviceIdentity, VersionIsAskedOfTheDeviceIdTheIdentityReplyGave)
{
    endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, identityPayload (0x03, 0x00, "Blue")) });
    endpoint.thenAnswer ({ reply (DeviceCommand::VersionReply, { 0x01, 0x05 }) });
    const auto device = probedDevice (calvioProduct());

    ASSERT_EQ (endpoint.getReceived().size(), 2u);
    EXPECT_EQ (endpoint.getReceived()[1], "F0 06 03 05 02 08 0A F7");
    EXPECT_EQ (device->getVersion(), "1.05");
    EXPECT_EQ (device->getVersionNumber().majorNumber, 1);
    EXPECT_EQ (device->getVersionNumber().minorNumber, 5);
    EXPECT_EQ (device->getDeviceName(), "Blue");
    EXPECT_FALSE (device->isWaitingForUpdate());
}

TEST_F (DeviceIdentity, DeviceInUpdateModeIsAskedNoVersionAndKeepsAnEmptyVersionText)
{
    endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, identityPayload (0x03, 0x02, "Blue")) });
    const auto device = probedDevice (calvioProduct());

    EXPECT_EQ (endpoint.getReceived().size(), 1u);
    EXPECT_TRUE (device->isWaitingForUpdate());
    EXPECT_EQ (device->getVersion(), "");
}

TEST_F (DeviceIdentity, PayloadOfExactlyFiveBytesLeavesTheNameEmpty)
{
    auto payload = identityPayload (0x03, 0x01);
    payload.push_back (0x41);
    endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, payload) });

    EXPECT_EQ (probedDevice (calvioProduct())->getDeviceName(), "");
}

TEST_F (DeviceIdentity, NameIsTheSecondTextWithoutSurroundingWhiteSpace)
{
    endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, identityPayload (0x03, 0x01, "  Blue Pedal \t")) });

    EXPECT_EQ (probedDevice (calvioProduct())->getDeviceName(), "Blue Pedal");
}

TEST_F (DeviceIdentity, SilenceIsAskedAgainOnceUnderTheUpdateProductId)
{
    endpoint.thenAnswer ({});
    endpoint.thenAnswer ({ replyFrom (0x05, 0x12, DeviceCommand::IdentityReply, identityPayload (0x03, 0x01)) });
    const auto device = probedDevice (calvioProduct (0x12), devicetest::shortReplyTimeouts());

    EXPECT_EQ (endpoint.getReceived(), (std::vector<std::string> { "F0 06 7F 05 02 01 00 7F 7F 7F 00 F7",
                                                                   "F0 06 7F 05 12 01 00 7F 7F 7F 10 F7" }));
    EXPECT_TRUE (device->isWaitingForUpdate());
}

TEST_F (DeviceIdentity, SilenceWithEqualProductIdsFailsWithoutAskingAgain)
{
    const auto device = makeDevice (calvioProduct (0x02), devicetest::shortReplyTimeouts());

    EXPECT_FALSE (MidiDeviceScanner::probe (*device, 0, 0));
    EXPECT_EQ (endpoint.getReceived().size(), 1u);
}

TEST_F (DeviceIdentity, CorruptAnswerIsNotAskedAgain)
{
    auto corrupt = reply (DeviceCommand::IdentityReply, identityPayload (0x03, 0x01));
    corrupt[corrupt.size() - 2] ^= 0x01;
    endpoint.thenAnswer ({ corrupt });
    const auto device = makeDevice (calvioProduct (0x12));
    ASSERT_TRUE (device->openPorts());

    EXPECT_EQ (devicetest::thrownBy ([&] { device->identify(); }), "host 1: The device returned corrupt data");
    EXPECT_EQ (endpoint.getReceived().size(), 1u);
}

TEST_F (DeviceIdentity, ProbeClosesThePortsWhetherItSucceedsOrFails)
{
    const std::vector<std::string> openedAndClosed { "0/0", "1/0", "1/1", "0/1", "0/0" };
    endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, identityPayload (0x03, 0x01)) });
    const auto found = probedDevice (calvioProduct());
    EXPECT_EQ (endpoint.waitForPortChanges (5), openedAndClosed);

    endpoint.thenAnswer ({ Bytes { 0xF0, 0x06, 0xF7 } });
    EXPECT_FALSE (MidiDeviceScanner::probe (*makeDevice (calvioProduct()), 0, 0));
    const auto changes = endpoint.waitForPortChanges (9);
    EXPECT_EQ (std::vector<std::string> (changes.begin() + 4, changes.end()), openedAndClosed);
}

TEST_F (DeviceIdentity, OutputThatFailsToOpenClosesTheInputAgainAndSendsNothing)
{
    ports.setOutputFailsToOpen (0, true);
    const auto device = makeDevice (calvioProduct());

    EXPECT_FALSE (MidiDeviceScanner::probe (*device, 0, 0));
    EXPECT_EQ (endpoint.waitForPortChanges (3), (std::vector<std::string> { "0/0", "1/0", "0/0" }));
    EXPECT_TRUE (endpoint.getReceived().empty());
}

TEST_F (DeviceIdentity, ModelThatAnswersTwiceButAnswersOnceIsNotADevice)
{
    endpoint.thenAnswer ({ replyFrom (0x1A, 0x02, DeviceCommand::IdentityReply, identityPayload (0x03, 0x01)) });
    const auto device = makeDevice (devicetest::makeProduct (TargetBrand::Calvio, 0x1A, 0x02, 0x02, "Pedal"),
                                    devicetest::shortReplyTimeouts());
    ASSERT_TRUE (device->openPorts());

    EXPECT_EQ (devicetest::thrownBy ([&] { device->identify(); }), "host 0: No reponse was received from the device");
}

TEST_F (DeviceIdentity, ModelThatAnswersTwiceHasItsLateSecondAnswerDroppedAlsoWhenAskedAgain)
{
    const auto waiting = replyFrom (0x1A, 0x42, DeviceCommand::IdentityReply, identityPayload (0x03, 0x01));
    endpoint.thenAnswer ({});
    endpoint.thenAnswer ({ waiting });
    const auto device = makeDevice (devicetest::makeProduct (TargetBrand::Calvio, 0x1A, 0x02, 0x42, "Pedal"));
    ASSERT_TRUE (device->openPorts());

    DeviceWorker worker ([&] { device->identify(); });
    worker.startThread();
    ASSERT_TRUE (endpoint.waitForReceived (2));

    // As on a slow link, well after the first answer: a worker that does not wait for it
    // has long finished, one that does still waits.
    worker.waitForThreadToExit (100);
    endpoint.sendUnasked (waiting);
    ASSERT_TRUE (worker.waitUntilDone());
    EXPECT_EQ (worker.getOutcome(), "");

    endpoint.thenAnswer ({ replyFrom (0x1A, 0x42, DeviceCommand::Ack, {}) });
    EXPECT_EQ (devicetest::thrownBy ([&] { device->request (DeviceCommand::PrepareWrite, DeviceCommand::Ack, 1000); }), "")
        << "the next request gets its own answer";
}

TEST_F (DeviceIdentity, ModelThatAnswersTwiceIsStillFoundWhenItAnswersOnlyOnceWhileWaitingInUpdateMode)
{
    endpoint.thenAnswer ({});
    endpoint.thenAnswer ({ replyFrom (0x1A, 0x42, DeviceCommand::IdentityReply, identityPayload (0x03, 0x01)) });
    const auto device = makeDevice (devicetest::makeProduct (TargetBrand::Calvio, 0x1A, 0x02, 0x42, "Pedal"),
                                    devicetest::shortReplyTimeouts());
    ASSERT_TRUE (device->openPorts());

    EXPECT_EQ (devicetest::thrownBy ([&] { device->identify(); }), "");
    EXPECT_TRUE (device->isWaitingForUpdate());
}

namespace
{
    struct LongReplyCase
    {
        const char* name;
        size_t textLength;   // of both texts of the identity reply
        bool found;
    };

    void PrintTo (const LongReplyCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    class DeviceIdentityLongReply : public ScriptedDeviceTest,
                                    public ::testing::WithParamInterface<LongReplyCase>
    {};
}

// A reply longer than any the protocol knows is dropped as it arrives, however long:
// the probe then hears nothing.
TEST_P (DeviceIdentityLongReply, IsReadUpToTheBoundAndDroppedBeyondIt)
{
    const std::string text (GetParam().textLength, 'A');
    Bytes payload { 0x03, 0x11, 0x22, 0x00, 0x33 };

    for (int i = 0; i < 2; ++i)
    {
        payload.insert (payload.end(), text.begin(), text.end());
        payload.push_back (0x00);
    }

    endpoint.thenAnswer ({ reply (DeviceCommand::IdentityReply, payload) });
    endpoint.thenAnswer ({ reply (DeviceCommand::VersionReply, { 0x01, 0x05 }) });
    const auto device = makeDevice (calvioProduct(), devicetest::shortReplyTimeouts());

    EXPECT_EQ (MidiDeviceScanner::probe (*device, 0, 0), GetParam().found);
    EXPECT_EQ (device->getDeviceName().length(), GetParam().found ? 1023 : 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Lengths, DeviceIdentityLongReply, ::testing::Values (
    LongReplyCase { "LongestTheProtocolKnows", 1023, true },
    LongReplyCase { "JustOverTheBound", MidiInputPort::maxSysexBytes * 7 / 16, false },
    LongReplyCase { "TwelveMegabytesEach", 12 * 1024 * 1024, false }),
    [] (const auto& info) { return std::string (info.param.name); });
// clang-format on
