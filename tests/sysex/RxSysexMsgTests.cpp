#include "device/sysex/RxSysexMsg.h"
#include "device/sysex/Super7RxSysexMsg.h"
#include "tests/sysex/SysexTestSupport.h"

#include <gtest/gtest.h>

using sysextest::appendAll;
using sysextest::Bytes;
using sysextest::hexOf;
using sysextest::readAll;
using sysextest::sysexErrorOf;

namespace
{
    /** A complete plain message with a one-byte manufacturer ID around the payload. */
    std::unique_ptr<pex::RxSysexMsg> receivePlain (const Bytes& payload)
    {
        auto message = std::make_unique<pex::RxSysexMsg>();
        appendAll (*message, { 0xF0, 0x7D });
        appendAll (*message, payload);
        appendAll (*message, { 0xF7 });
        return message;
    }
}

TEST (PlainReceive, EndByteAloneCompletesWhatCameBefore)
{
    const auto message = receivePlain ({ 0x01, 0x02, 0x03 });

    ASSERT_TRUE (message->IsComplete());
    EXPECT_EQ (message->GetStatus(), 0xF0);
    EXPECT_EQ (message->GetHeaderLength(), 2u);
    EXPECT_EQ (hexOf (sysextest::bytesOf (*message)), "01 02 03");
}

TEST (PlainReceive, WholeMessageInOneCallKeepsItsDataAndCompletes)
{
    pex::RxSysexMsg message;
    appendAll (message, { 0xF0, 0x7D, 0x01, 0x02, 0xF7 });

    ASSERT_TRUE (message.IsComplete());
    EXPECT_EQ (hexOf (readAll (message)), "01 02");
}

TEST (PlainReceive, BytesAfterTheEndAreIgnored)
{
    pex::RxSysexMsg message;
    appendAll (message, { 0xF0, 0x7D, 0x01, 0xF7, 0x02, 0x03 });
    appendAll (message, { 0x04 });

    ASSERT_TRUE (message.IsComplete());
    EXPECT_EQ (hexOf (readAll (message)), "01");
}

TEST (PlainReceive, NothingHappensForAnEmptyAppend)
{
    pex::RxSysexMsg message;
    message.Append (nullptr, 0);

    EXPECT_FALSE (message.IsComplete());
    EXPECT_EQ (message.GetLength(), 0u);
}

TEST (PlainReceive, SecondByteZeroMakesTheManufacturerIdThreeBytesLong)
{
    pex::RxSysexMsg message;
    appendAll (message, { 0xF0, 0x00 });
    appendAll (message, { 0x20 });
    EXPECT_EQ (message.GetHeaderLength(), 2u);

    appendAll (message, { 0x33, 0xAA, 0xF7 });
    EXPECT_EQ (message.GetHeaderLength(), 4u);
    EXPECT_EQ (hexOf (readAll (message)), "AA");
}

TEST (PlainReceive, EndInsideTheHeaderThrowsIncompleteButMarksTheMessageComplete)
{
    pex::RxSysexMsg message;
    const auto error = sysexErrorOf ([&] { appendAll (message, { 0xF0, 0xF7 }); });

    EXPECT_EQ (error, pex::SysexErrorKind::Incomplete);
    EXPECT_TRUE (message.IsComplete());
    EXPECT_EQ (message.GetLength(), 0u);
}

TEST (PayloadReading, ReadOfMoreThanRemainsCopiesTheRestAndReturnsFalse)
{
    const auto message = receivePlain ({ 0x01, 0x02 });
    Bytes buffer { 0xEE, 0xEE, 0xEE };

    EXPECT_FALSE (message->Read (buffer.data(), 3));
    EXPECT_EQ (hexOf (buffer), "01 02 EE");
    EXPECT_TRUE (message->Read (buffer.data(), 0));
}

TEST (PayloadReading, NumbersAreBigEndian)
{
    const auto message = receivePlain ({ 0x00, 0x00, 0x80, 0x00, 0x12, 0x34, 0x9A });

    EXPECT_EQ (message->ReadDWord(), 0x8000u);
    EXPECT_EQ (message->ReadWord(), 0x1234);
    EXPECT_EQ (message->ReadByte(), 0x9A);
}

TEST (PayloadReading, BytesMissingAtTheEndReadAsZero)
{
    const auto message = receivePlain ({ 0x12, 0x34, 0x56 });

    EXPECT_EQ (message->ReadWord(), 0x1234);
    EXPECT_EQ (message->ReadDWord(), 0x56000000u);
    EXPECT_EQ (message->ReadByte(), 0);
    EXPECT_EQ (message->ReadWord(), 0);
}

TEST (PayloadReading, StringStopsAtItsTerminatorWhichIsConsumed)
{
    const auto message = receivePlain ({ 'E', 'c', 'h', 'o', 0x00, 'X', 0x00 });

    EXPECT_EQ (message->ReadString(), "Echo");
    EXPECT_EQ (message->ReadString(), "X");
    EXPECT_EQ (message->ReadString(), "");
}

TEST (PayloadReading, LongStringIsCutTo1023CharactersAndReadingGoesOnAfterItsTerminator)
{
    Bytes payload (2000, 'a');
    payload[1022] = 'b';
    payload[1023] = 'c';
    payload.push_back (0x00);
    payload.push_back (0x42);
    const auto message = receivePlain (payload);

    const auto text = message->ReadString();

    EXPECT_EQ (text.length(), 1023);
    EXPECT_EQ (text.getLastCharacter(), 'b');
    EXPECT_EQ (message->ReadByte(), 0x42);
}

TEST (PayloadReading, StringRunningOutOfPayloadEndsWithIt)
{
    const auto message = receivePlain ({ 'A', 'B' });

    EXPECT_EQ (message->ReadString(), "AB");
}

TEST (PayloadReading, EachStringByteIsOneCharacter)
{
    const auto message = receivePlain ({ 'C', 0xE9, 0x00 });

    EXPECT_EQ (message->ReadString(), juce::String (juce::CharPointer_UTF8 ("C\xc3\xa9")));
}

TEST (PayloadReading, Super7PayloadIsReadAfterThePrefix)
{
    pex::Super7RxSysexMsg message;
    appendAll (message, { 0xF0, 0x7D, 0x7F, 0x01, 0x02, 0x7A, 0x40, 0x01, 0x02, 0x38, 0xF7 });

    EXPECT_EQ (message.ReadWord(), 0x8102);
    EXPECT_EQ (message.ReadByte(), 0);
}
