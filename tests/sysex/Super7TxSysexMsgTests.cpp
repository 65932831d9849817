#include "device/sysex/Super7TxSysexMsg.h"
#include "tests/sysex/SysexTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using sysextest::appendAll;
using sysextest::Bytes;
using sysextest::bytesOf;
using sysextest::hexOf;
using sysextest::makeHeader;

namespace
{
    SysexHeader oneByteIdHeader (juce::uint8 command)
    {
        return makeHeader (0x7D, false, 0x7F, 0x01, 0x02, command);
    }

    Bytes packedPayloadOf (const pex::Super7TxSysexMsg& message)
    {
        const auto all = bytesOf (message);
        return Bytes (all.begin() + message.GetHeaderLength(), all.end());
    }
}

TEST (Super7Packing, BuildsTheTwoByteExampleMessageByteForByte)
{
    pex::Super7TxSysexMsg message (oneByteIdHeader (0x7A));
    message.AppendByte (0x81);
    message.AppendByte (0x02);
    message.Complete();

    EXPECT_EQ (hexOf (message), "F0 7D 7F 01 02 7A 40 01 02 38 F7");
    EXPECT_TRUE (message.IsComplete());
}

TEST (Super7Packing, BuildsAnIdentityRequestByteForByte)
{
    pex::Super7TxSysexMsg message (makeHeader (0x06, false, 0x7F, 0x05, 0x02, 0x01));
    message.AppendByte (0x7F);
    message.AppendByte (0x7F);
    message.AppendByte (0x7F);
    message.Complete();

    EXPECT_EQ (hexOf (message), "F0 06 7F 05 02 01 00 7F 7F 7F 00 F7");
}

TEST (Super7Packing, BuildsAWriteBlockWithAThreeByteManufacturerIdByteForByte)
{
    const Bytes data { 0x80, 0x01, 0xFF, 0x7F };

    pex::Super7TxSysexMsg message (makeHeader (0x0010, true, 0x01, 0x10, 0x03, 0x7A));
    message.AppendDWord (0x12000);
    message.AppendWord ((juce::uint16) data.size());
    appendAll (message, data);
    message.Complete();

    EXPECT_EQ (hexOf (message), "F0 00 00 10 01 10 03 7A 01 00 01 20 00 00 04 00 20 01 7F 7F 7D F7");
}

TEST (Super7Packing, SeventhByteHighBitGoesToBitZeroOfHighBitsByte)
{
    pex::Super7TxSysexMsg message (oneByteIdHeader (0x10));
    appendAll (message, { 0, 0, 0, 0, 0, 0, 0x80 });

    EXPECT_EQ (hexOf (packedPayloadOf (message)), "01 00 00 00 00 00 00 00");
}

TEST (Super7Packing, FirstByteHighBitGoesToBitSixOfHighBitsByte)
{
    pex::Super7TxSysexMsg message (oneByteIdHeader (0x10));
    appendAll (message, { 0xFF, 0x01 });

    EXPECT_EQ (hexOf (packedPayloadOf (message)), "40 7F 01");
}

TEST (Super7Packing, EighthByteStartsANewGroupWithItsOwnHighBitsByte)
{
    pex::Super7TxSysexMsg message (oneByteIdHeader (0x10));
    appendAll (message, { 1, 2, 3, 4, 5, 6, 7, 0x88 });

    EXPECT_EQ (hexOf (packedPayloadOf (message)), "00 01 02 03 04 05 06 07 40 08");
}

TEST (Super7Packing, EmptyPayloadIsHeaderPrefixChecksumAndEnd)
{
    pex::Super7TxSysexMsg message (oneByteIdHeader (0x08));
    message.Complete();

    // 7D ^ 7F ^ 01 ^ 02 ^ 08 = 0x09
    EXPECT_EQ (hexOf (message), "F0 7D 7F 01 02 08 09 F7");
}

TEST (Super7Packing, ChecksumOfAFullGroupStandsWhereTheNextHighBitsByteWould)
{
    pex::Super7TxSysexMsg message (oneByteIdHeader (0x10));
    appendAll (message, { 0x81, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07 });
    message.Complete();

    // 7D ^ 7F ^ 01 ^ 02 ^ 10 ^ 40 ^ 01 ^ .. ^ 07 = 0x51
    EXPECT_EQ (hexOf (message), "F0 7D 7F 01 02 10 40 01 02 03 04 05 06 07 51 F7");
}

TEST (Super7Packing, ChecksumIsMaskedToSevenBits)
{
    // Only a manufacturer ID byte can carry bit 7 into the sum.
    pex::Super7TxSysexMsg message (makeHeader (0x90, false, 0x01, 0x00, 0x00, 0x00));
    message.Complete();

    EXPECT_EQ (hexOf (message), "F0 90 01 00 00 00 11 F7");
}

TEST (Super7Packing, WordsAndDoubleWordsArePackedHighByteFirst)
{
    pex::Super7TxSysexMsg message (oneByteIdHeader (0x10));
    message.AppendWord (0x1234);
    message.AppendDWord (0x89ABCDEF);

    EXPECT_EQ (hexOf (packedPayloadOf (message)), "1E 12 34 09 2B 4D 6F");
}

TEST (Super7Packing, HeaderLengthCountsManufacturerIdAndPrefix)
{
    EXPECT_EQ (pex::Super7TxSysexMsg (oneByteIdHeader (0)).GetHeaderLength(), 6u);
    EXPECT_EQ (pex::Super7TxSysexMsg (makeHeader (0x1234, true, 0, 0, 0, 0)).GetHeaderLength(), 8u);
    EXPECT_EQ (hexOf (pex::Super7TxSysexMsg (makeHeader (0x1234, true, 1, 2, 3, 4))), "F0 00 12 34 01 02 03 04");
}

TEST (Super7Packing, AnySplitOfThePayloadGivesTheSameMessage)
{
    std::mt19937 random (20240611);

    for (size_t length = 0; length <= 300; ++length)
    {
        const auto payload = sysextest::randomBytes (random, length);

        pex::Super7TxSysexMsg whole (oneByteIdHeader (0x7A));
        appendAll (whole, payload);
        whole.Complete();

        ASSERT_EQ (sysextest::sendInPieces (oneByteIdHeader (0x7A), payload, random), bytesOf (whole))
            << "payload length " << length;
    }
}
