#include "sim/SimulatedCommand.h"
#include "tests/sim/SimulatedDeviceTest.h"

using simbytes::fromHex;

namespace
{
    simbytes::Bytes filled (size_t count, juce::uint8 first)
    {
        simbytes::Bytes bytes (count);

        for (size_t i = 0; i < count; ++i)
            bytes[i] = (juce::uint8) (first + i);

        return bytes;
    }

    bool allErased (const simbytes::Bytes& bytes)
    {
        return std::all_of (bytes.begin(), bytes.end(), [] (juce::uint8 b) { return b == 0xFF; });
    }
}

TEST_F (SimulatedDeviceTest, MemoryMapReplyListsBlockSizeAndRegions)
{
    ASSERT_TRUE (enterUpdateModeOf (calvio()));

    EXPECT_EQ (exchange (request (SimulatedCommand::memoryMapRequest, {}, true)),
               "F0 06 01 05 03 79 00 00 01 00 02 00 00 00 08 00 00 00 00 00 00 01 00 00 00 00 00 40 00 32 F7");
}

TEST_F (SimulatedDeviceTest, EnterUpdateModeIsAcknowledgedOrSwitchesSilently)
{
    start (calvio());
    EXPECT_EQ (exchange (request (SimulatedCommand::enterUpdateMode)), "F0 06 01 05 02 7E 7E F7");
    EXPECT_TRUE (device->isInUpdateMode());

    auto silent = calvio();
    silent.acknowledgesUpdateMode = false;
    start (silent);
    EXPECT_TRUE (sendAndSettle (request (SimulatedCommand::enterUpdateMode)).empty());
    EXPECT_TRUE (device->isInUpdateMode());
}

TEST_F (SimulatedDeviceTest, WriteLandsInTheFlashAndTheRestStaysErased)
{
    ASSERT_TRUE (enterUpdateModeOf (calvio()));
    const auto data = filled (0x10, 0x78);

    EXPECT_EQ (exchange (writeBlock (0x100, data)), "F0 06 01 05 03 7E 7F F7");

    EXPECT_EQ (device->readFlash (0x100, 0x10), data);
    EXPECT_TRUE (allErased (device->readFlash (0, 0x100)));
    EXPECT_TRUE (allErased (device->readFlash (0x110, 0x14000 - 0x110)));
}

TEST_F (SimulatedDeviceTest, WriteMayRunPastARegionIntoFlashThatNoRegionLists)
{
    ASSERT_TRUE (enterUpdateModeOf (calvio()));
    const auto data = filled (0x100, 0);

    EXPECT_EQ (exchange (writeBlock (0x7F80, data)), "F0 06 01 05 03 7E 7F F7");
    EXPECT_EQ (device->readFlash (0x7F80, 0x100), data);
}

TEST_F (SimulatedDeviceTest, AcceptsABrismaWriteBlockWhosePayloadSpansTwoPackedGroups)
{
    auto config = brisma();
    config.updateProductId = 0x03;
    ASSERT_TRUE (enterUpdateModeOf (config));

    EXPECT_EQ (exchange (fromHex ("F0 00 00 10 01 10 03 7A 01 00 01 20 00 00 04 00 20 01 7F 7F 7D F7")),
               "F0 00 00 10 01 10 03 7E 7C F7");
    EXPECT_EQ (device->readFlash (0x12000, 4), fromHex ("80 01 FF 7F"));
}

TEST_F (SimulatedDeviceTest, RefusesWritesOutsideItsModeOrItsLimitsWithAFittingErrorCode)
{
    start (calvio());
    EXPECT_EQ (exchange (request (SimulatedCommand::prepareWrite, { 0x00 })), "F0 06 01 05 02 7F 00 7B 0B 0F F7");
    EXPECT_EQ (simbytes::payloadOf (exchange (request (SimulatedCommand::writeBlock, fromHex ("00 00 00 00 00 01 00")))),
               fromHex ("7A 0B"));

    sendAndSettle (request (SimulatedCommand::enterUpdateMode));
    EXPECT_EQ (simbytes::payloadOf (exchange (writeBlock (0, { 0x00 }))), fromHex ("7A 0B")) << "before PrepareWrite";
    sendAndSettle (request (SimulatedCommand::prepareWrite, { 0x00 }, true));

    struct Refusal { const char* what; Bytes message; const char* payload; };
    const Refusal refusals[] {
        { "past the flash end", writeBlock (0x13FFE, filled (4, 0)), "7A 05" },
        { "wrapping round the address space", writeBlock (0xFFFFFFFF, filled (2, 0)), "7A 05" },
        { "longer than a block", writeBlock (0, filled (0x101, 0)), "7A 0A" },
        { "length word and data differ", request (SimulatedCommand::writeBlock, fromHex ("00 00 00 00 00 04 01 02 03"), true), "7A 09" },
        { "no room for address and length", request (SimulatedCommand::writeBlock, fromHex ("00 00 00 00 00"), true), "7A 0D" },
        { "unknown command", request (0x55, {}, true), "55 00" }
    };

    for (const auto& refusal : refusals)
    {
        const auto reply = exchange (refusal.message);
        EXPECT_TRUE (reply.startsWith ("F0 06 01 05 03 7F")) << refusal.what;
        EXPECT_EQ (simbytes::payloadOf (reply), fromHex (refusal.payload)) << refusal.what;
    }

    EXPECT_TRUE (allErased (device->readFlash (0, 0x14000)));
}

TEST_F (SimulatedDeviceTest, RefusesARequestWithABadChecksumAsCorruptData)
{
    start (calvio());
    auto message = request (SimulatedCommand::versionRequest);
    message[message.size() - 2] ^= 0x01;

    EXPECT_EQ (simbytes::payloadOf (exchange (message)), fromHex ("08 07"));
}

TEST_F (SimulatedDeviceTest, FlashAndTranscriptMayBeReadWhileTheDeviceWrites)
{
    ASSERT_TRUE (enterUpdateModeOf (calvio()));
    constexpr int blocks = 64;
    const auto& transcript = device->getTranscript();
    const auto handledAtEnd = transcript.getHandledCount() + blocks;

    for (int i = 0; i < blocks; ++i)
        host.send (writeBlock ((juce::uint32) i * 0x100, filled (0x100, (juce::uint8) i)));
    size_t lastEntries = 0;

    for (auto handled = transcript.getHandledCount(); handled < handledAtEnd; handled = transcript.getHandledCount())
    {
        const auto entries = transcript.getEntries().size();
        EXPECT_GE (entries, lastEntries) << "the transcript only grows";
        lastEntries = entries;
        EXPECT_EQ (device->readFlash (0, 0x4000).size(), 0x4000u);
        ASSERT_TRUE (transcript.waitUntilHandled (handled + 1, SimHost::waitBoundMs));
    }

    for (int i = 0; i < blocks; ++i)
        EXPECT_EQ (device->readFlash ((juce::uint32) i * 0x100, 0x100), filled (0x100, (juce::uint8) i)) << i;
}
