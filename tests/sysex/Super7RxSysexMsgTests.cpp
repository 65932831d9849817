#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/Super7TxSysexMsg.h"
#include "tests/sysex/SysexTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using sysextest::appendAll;
using sysextest::Bytes;
using sysextest::hexOf;
using sysextest::makeHeader;
using sysextest::randomBytes;
using sysextest::readAll;
using sysextest::sendInPieces;
using sysextest::sysexErrorOf;

namespace
{
    Bytes wire (const SysexHeader& header, const Bytes& payload)
    {
        std::mt19937 random (1);
        return sendInPieces (header, payload, random);
    }

    Bytes withBitFlipped (Bytes bytes, size_t index, int bit)
    {
        bytes[index] ^= (juce::uint8) (1 << bit);
        return bytes;
    }

    const auto exampleWire = Bytes { 0xF0, 0x7D, 0x7F, 0x01, 0x02, 0x7A, 0x40, 0x01, 0x02, 0x38, 0xF7 };
}

TEST (Super7Receive, DecodesTheTwoByteExampleMessage)
{
    pex::Super7RxSysexMsg message;
    appendAll (message, exampleWire);

    ASSERT_TRUE (message.IsComplete());
    EXPECT_EQ (message.GetLength(), 2u);
    EXPECT_EQ (hexOf (sysextest::bytesOf (message)), "81 02");
    EXPECT_EQ (message.GetCommand(), 0x7A);
    EXPECT_EQ (message.ReadByte(), 0x81);
    EXPECT_EQ (message.ReadByte(), 0x02);
}

TEST (Super7Receive, ReadsAPrefixAtOffsetsFourToSevenWhenTheSecondByteIsZero)
{
    const Bytes writeBlock { 0xF0, 0x00, 0x00, 0x10, 0x01, 0x10, 0x03, 0x7A, 0x01, 0x00, 0x01,
                             0x20, 0x00, 0x00, 0x04, 0x00, 0x20, 0x01, 0x7F, 0x7F, 0x7D, 0xF7 };
    pex::Super7RxSysexMsg message;
    appendAll (message, writeBlock);

    ASSERT_TRUE (message.IsComplete());
    EXPECT_EQ (message.GetHeaderLength(), 8u);
    EXPECT_EQ (message.GetCommand(), 0x7A);
    EXPECT_EQ (message.ReadDWord(), 0x12000u);
    EXPECT_EQ (message.ReadWord(), 4);
    Bytes data (4);
    EXPECT_TRUE (message.Read (data.data(), 4));
    EXPECT_EQ (hexOf (data), "80 01 FF 7F");
    EXPECT_FALSE (message.Read (data.data(), 1));
}

TEST (Super7Receive, EmptyPayloadCompletesWithLengthZero)
{
    pex::Super7RxSysexMsg message;
    appendAll (message, { 0xF0, 0x7D, 0x7F, 0x01, 0x02, 0x08, 0x09, 0xF7 });

    EXPECT_TRUE (message.IsComplete());
    EXPECT_EQ (message.GetLength(), 0u);
    EXPECT_EQ (message.GetCommand(), 0x08);
}

TEST (Super7Receive, ChecksumAfterAFullGroupIsTakenAsHighBitsByteAndNothingIsRemoved)
{
    pex::Super7RxSysexMsg message;
    appendAll (message, { 0xF0, 0x7D, 0x7F, 0x01, 0x02, 0x10, 0x40, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x51, 0xF7 });

    ASSERT_TRUE (message.IsComplete());
    EXPECT_EQ (hexOf (readAll (message)), "81 02 03 04 05 06 07");
}

TEST (Super7Receive, RoundTripsEveryPayloadLengthUpTo300SplitAnywhere)
{
    std::mt19937 random (7);

    for (size_t length = 0; length <= 300; ++length)
    {
        const auto extended = length % 2 == 1;
        const auto header = makeHeader (extended ? 0x2233 : 0x41, extended, 0x11, 0x22, 0x33, (juce::uint8) (length & 0x7F));
        const auto payload = randomBytes (random, length);
        const auto sent = sendInPieces (header, payload, random);

        ASSERT_EQ (sent.size(), (extended ? 8 : 6) + length + (length + 6) / 7 + 2);

        pex::Super7RxSysexMsg message;

        // Receiving in pieces too: the decoder keeps its place between calls.
        for (size_t start = 0; start < sent.size();)
        {
            const auto size = juce::jmin ((size_t) random() % 12, sent.size() - start);
            message.Append (sent.data() + start, (juce::uint32) size);
            start += size;
        }

        ASSERT_TRUE (message.IsComplete()) << "payload length " << length;
        EXPECT_EQ (message.GetCommand(), header.command);
        ASSERT_EQ (readAll (message), payload) << "payload length " << length;
    }
}

TEST (Super7Receive, AnySingleFlippedBitBetweenStartAndEndIsNeverAccepted)
{
    std::mt19937 random (11);

    for (size_t length : { 0u, 1u, 6u, 7u, 8u, 13u, 14u, 40u })
    {
        const auto extended = length % 2 == 0;
        const auto sent = wire (makeHeader (extended ? 0x0102 : 0x01, extended, 0x7F, 0x01, 0x02, 0x7A),
                                randomBytes (random, length));

        for (size_t index = 1; index + 1 < sent.size(); ++index)
        {
            for (int bit = 0; bit < 8; ++bit)
            {
                const auto flipped = withBitFlipped (sent, index, bit);
                pex::Super7RxSysexMsg message;
                const auto error = sysexErrorOf ([&] { appendAll (message, flipped); });

                if (flipped[index] == 0xF7)
                {
                    // A forged F7 ends the message there, as a MIDI transport would.
                    pex::Super7RxSysexMsg truncated;
                    const auto truncatedError = sysexErrorOf ([&] { appendAll (truncated, Bytes (flipped.begin(), flipped.begin() + (long) index + 1)); });
                    EXPECT_EQ (error, truncatedError);
                    EXPECT_EQ (message.IsComplete(), truncated.IsComplete());
                    continue;
                }

                EXPECT_FALSE (message.IsComplete()) << "byte " << index << " bit " << bit;

                // Turning the second byte into 00 widens the manufacturer ID; with a short
                // payload the F7 then falls inside the prefix and nothing completes.
                if (index != 1)
                {
                    EXPECT_EQ (error, pex::SysexErrorKind::Corrupt) << "byte " << index << " bit " << bit;
                }
            }
        }
    }
}

TEST (Super7Receive, WrongChecksumThrowsCorrupt)
{
    auto sent = exampleWire;
    sent[9] = 0x39;
    pex::Super7RxSysexMsg message;

    EXPECT_EQ (sysexErrorOf ([&] { appendAll (message, sent); }), pex::SysexErrorKind::Corrupt);
    EXPECT_FALSE (message.IsComplete());
}

TEST (Super7Receive, BytesAfterTheEndAreIgnored)
{
    auto sent = exampleWire;
    sent.insert (sent.end(), { 0x01, 0x02, 0xF7, 0x90 });
    pex::Super7RxSysexMsg message;
    appendAll (message, sent);
    appendAll (message, { 0x05, 0xF7 });

    ASSERT_TRUE (message.IsComplete());
    EXPECT_EQ (hexOf (readAll (message)), "81 02");
}

TEST (Super7Receive, EndBeforeThePrefixIsCompleteIsStoredAsDataAndNeverCompletes)
{
    pex::Super7RxSysexMsg message;
    appendAll (message, { 0xF0, 0x7D, 0x7F, 0xF7 });

    EXPECT_FALSE (message.IsComplete());
    EXPECT_EQ (message.GetLength(), 0u);
    EXPECT_EQ (sysexErrorOf ([&] { message.GetCommand(); }), pex::SysexErrorKind::InvalidHeader);
}

TEST (Super7Receive, CommandOfAMessageShorterThanItsPrefixThrowsInvalidHeader)
{
    pex::Super7RxSysexMsg empty;
    EXPECT_EQ (sysexErrorOf ([&] { empty.GetCommand(); }), pex::SysexErrorKind::InvalidHeader);

    pex::Super7RxSysexMsg threeByteId;
    appendAll (threeByteId, { 0xF0, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05 });
    EXPECT_EQ (sysexErrorOf ([&] { threeByteId.GetCommand(); }), pex::SysexErrorKind::InvalidHeader);

    appendAll (threeByteId, { 0x06 });
    EXPECT_EQ (threeByteId.GetCommand(), 0x06);
}
