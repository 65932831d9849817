#include "device/sysex/SysexException.h"
#include "sim/SimulatedCommand.h"
#include "tests/sim/SimulatedDeviceTest.h"

using Kind = SimulatedFault::Kind;

namespace
{
    const juce::String versionReply = "F0 06 01 05 02 09 00 01 05 0D F7";
    const juce::String updateModeAck = "F0 06 01 05 03 7E 7F F7";

    SimulatedDeviceConfig withFault (SimulatedDeviceConfig config, SimulatedFault fault)
    {
        config.faults.push_back (fault);
        return config;
    }
}

TEST_F (SimulatedDeviceTest, NoReplyFaultSilencesOnlyTheOccurrencesItNames)
{
    start (withFault (calvio(), { Kind::noReply, SimulatedCommand::versionRequest, 2, 2 }));
    const auto version = request (SimulatedCommand::versionRequest);

    EXPECT_EQ (sendAndSettle (version), (std::vector<juce::String> { versionReply }));
    EXPECT_TRUE (sendAndSettle (version).empty());
    EXPECT_TRUE (sendAndSettle (version).empty());
    EXPECT_EQ (sendAndSettle (version), (std::vector<juce::String> { versionReply }));
}

TEST_F (SimulatedDeviceTest, BadChecksumFaultFlipsTheLowestBitOfTheChecksumSoTheReplyFailsToDecode)
{
    start (withFault (calvio(), { Kind::badChecksum, SimulatedCommand::versionRequest }));

    const auto reply = exchange (request (SimulatedCommand::versionRequest));

    EXPECT_EQ (reply, "F0 06 01 05 02 09 00 01 05 0C F7");
    EXPECT_THROW (simbytes::payloadOf (reply), pex::SysexException);
}

TEST_F (SimulatedDeviceTest, WrongKindFaultAnswersAnAckForDataAndAVersionReplyForAnAck)
{
    auto config = withFault (calvio(), { Kind::wrongKind, SimulatedCommand::versionRequest });
    config.faults.push_back ({ Kind::wrongKind, SimulatedCommand::writeBlock });
    config.startsInUpdateMode = true;
    start (config);
    sendAndSettle (request (SimulatedCommand::prepareWrite, { 0x00 }, true));

    EXPECT_EQ (exchange (request (SimulatedCommand::versionRequest, {}, true)), updateModeAck);
    EXPECT_EQ (exchange (writeBlock (0x20, { 0x12 })), "F0 06 01 05 03 09 00 01 05 0C F7");
    EXPECT_EQ (device->readFlash (0x20, 1), Bytes { 0x12 }) << "only the reply is wrong";
}

TEST_F (SimulatedDeviceTest, TooShortFaultSendsTheManufacturerIdAloneBetweenF0AndF7)
{
    start (withFault (calvio(), { Kind::tooShort, SimulatedCommand::versionRequest }));
    EXPECT_EQ (exchange (request (SimulatedCommand::versionRequest)), "F0 06 F7");

    start (withFault (brisma(), { Kind::tooShort, SimulatedCommand::versionRequest }));
    EXPECT_EQ (exchange (request (SimulatedCommand::versionRequest)), "F0 00 00 10 F7");
}

TEST_F (SimulatedDeviceTest, ErrorReplyFaultRefusesTheNthWriteBlockKTimesWithoutWriting)
{
    ASSERT_TRUE (enterUpdateModeOf (withFault (calvio(), { Kind::errorReply, SimulatedCommand::writeBlock, 2, 2, 12 })));
    const juce::String refusal = "F0 06 01 05 03 7F 00 7A 0C 08 F7";

    EXPECT_EQ (exchange (writeBlock (0x00, { 0x01 })), updateModeAck);
    EXPECT_EQ (exchange (writeBlock (0x10, { 0x02 })), refusal);
    EXPECT_EQ (exchange (writeBlock (0x20, { 0x03 })), refusal);
    EXPECT_EQ (exchange (writeBlock (0x30, { 0x04 })), updateModeAck);

    EXPECT_EQ (device->readFlash (0x00, 1), Bytes { 0x01 });
    EXPECT_EQ (device->readFlash (0x10, 1), Bytes { 0xFF });
    EXPECT_EQ (device->readFlash (0x20, 1), Bytes { 0xFF });
    EXPECT_EQ (device->readFlash (0x30, 1), Bytes { 0x04 });
}

TEST_F (SimulatedDeviceTest, StrayMessageFaultSendsAnUnaskedMessageAfterTheReply)
{
    start (withFault (calvio(), { Kind::strayMessage, SimulatedCommand::versionRequest }));

    EXPECT_EQ (sendAndSettle (request (SimulatedCommand::versionRequest)),
               (std::vector<juce::String> { versionReply, "F0 06 01 05 02 20 20 F7" }));
}

TEST_F (SimulatedDeviceTest, VanishFaultDetachesTheDeviceAfterAnsweringTheNthWriteBlock)
{
    ASSERT_TRUE (enterUpdateModeOf (withFault (calvio(), { Kind::vanishAfterReply, SimulatedCommand::writeBlock, 2 })));

    EXPECT_EQ (exchange (writeBlock (0x00, { 0x01 })), updateModeAck);
    EXPECT_EQ (exchange (writeBlock (0x10, { 0x02 })), updateModeAck);
    ASSERT_TRUE (device->waitUntilVanished (SimHost::waitBoundMs));

    const auto heardBefore = device->getTranscript().getMessages (SimulatedTranscript::Direction::fromHost).size();
    host.send (writeBlock (0x20, { 0x03 }));

    // Nothing is attached any more, so the message cannot be on its way to the device.
    EXPECT_EQ (device->getTranscript().getMessages (SimulatedTranscript::Direction::fromHost).size(), heardBefore);
    EXPECT_EQ (device->readFlash (0x10, 1), Bytes { 0x02 });
    EXPECT_EQ (device->readFlash (0x20, 1), Bytes { 0xFF });
}

TEST_F (SimulatedDeviceTest, BrismaModel5C4AnswersInUpdateModeOnlyOnceTheHostHasReopenedItsPorts)
{
    start (model (TargetBrand::Brisma, 0x5C, 0x04, 0x05, "Plate"));
    const auto identity = request (SimulatedCommand::identityRequest, { 0x7F, 0x7F, 0x7F }, true);

    EXPECT_TRUE (sendAndSettle (request (SimulatedCommand::enterUpdateMode)).empty());
    ASSERT_TRUE (device->isInUpdateMode());
    EXPECT_TRUE (sendAndSettle (identity).empty());

    host.closePorts();
    host.openPorts();

    EXPECT_EQ (exchange (identity), "F0 00 00 10 01 5C 05 02 00 01 5C 05 01 00 00 50 00 6C 61 74 65 00 5F F7");
}

TEST_F (SimulatedDeviceTest, AnswersAlikeOverASlowLinkWithLatencyAndNeverSoonerThanTheLinkAllows)
{
    auto config = calvio();
    config.replyLatencyMs = 20;
    config.linkBytesPerSecond = SimulatedDeviceConfig::dinBytesPerSecond;
    start (config);
    const auto version = request (SimulatedCommand::versionRequest);
    const auto replyBytes = (double) simbytes::fromHex (versionReply).size();
    const auto leastMs = 1000.0 * ((double) version.size() + replyBytes) / config.linkBytesPerSecond + config.replyLatencyMs;

    const auto sent = juce::Time::getMillisecondCounterHiRes();
    EXPECT_EQ (exchange (version), versionReply);
    EXPECT_GE (juce::Time::getMillisecondCounterHiRes() - sent, leastMs);
}

TEST_F (SimulatedDeviceTest, DestroyingADeviceInTheMiddleOfALongLatencyCutsItShortAndSendsNothing)
{
    auto config = calvio();
    config.replyLatencyMs = 600000;
    start (config);

    host.send (request (SimulatedCommand::versionRequest));

    for (int i = 0; i < SimHost::waitBoundMs && device->getTranscript().getEntries().empty(); ++i)
        juce::Thread::sleep (1);

    ASSERT_EQ (device->getTranscript().getEntries().size(), 1u);
    device.reset();
    EXPECT_TRUE (host.getReceived().empty());
}

TEST_F (SimulatedDeviceTest, ForeignHeaderFaultSendsTheReplyUnderTheNextFamilyIdWithAMatchingChecksum)
{
    start (withFault (calvio(), { Kind::foreignHeader, SimulatedCommand::versionRequest }));

    const auto reply = exchange (request (SimulatedCommand::versionRequest));

    EXPECT_EQ (reply, "F0 06 01 06 02 09 00 01 05 0E F7");
    EXPECT_EQ (simbytes::payloadOf (reply), (Bytes { 0x01, 0x05 }));
}

TEST_F (SimulatedDeviceTest, StrangerFaultSendsAnotherMakersMessageAfterTheReply)
{
    start (withFault (calvio(), { Kind::strangerAfterReply, SimulatedCommand::versionRequest }));

    EXPECT_EQ (sendAndSettle (request (SimulatedCommand::versionRequest)),
               (std::vector<juce::String> { versionReply, "F0 7D 01 05 02 20 5B F7" }));
}

TEST_F (SimulatedDeviceTest, MissingRegionFaultCountsOneRegionMoreThanTheMemoryMapCarries)
{
    ASSERT_TRUE (enterUpdateModeOf (withFault (calvio(), { Kind::missingRegion, SimulatedCommand::memoryMapRequest })));

    const auto payload = simbytes::payloadOf (exchange (request (SimulatedCommand::memoryMapRequest, {}, true)));

    EXPECT_EQ (payload, (Bytes { 0x00, 0x01, 0x00, 0x03,
                                 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00,
                                 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00 }));
}
