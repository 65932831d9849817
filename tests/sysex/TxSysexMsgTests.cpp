#include "device/sysex/TxSysexMsg.h"
#include "tests/sysex/SysexTestSupport.h"

#include <gtest/gtest.h>

using sysextest::appendAll;
using sysextest::hexOf;

TEST (PlainSend, OneByteManufacturerIdIsItsLowByte)
{
    pex::TxSysexMsg message (0x1234, false);

    EXPECT_EQ (hexOf (message), "F0 34");
    EXPECT_EQ (message.GetHeaderLength(), 2u);
    EXPECT_EQ (message.GetStatus(), 0xF0);
    EXPECT_FALSE (message.IsComplete());
}

TEST (PlainSend, ThreeByteManufacturerIdIsZeroThenHighThenLowByte)
{
    pex::TxSysexMsg message (0x1234, true);

    EXPECT_EQ (hexOf (message), "F0 00 12 34");
    EXPECT_EQ (message.GetHeaderLength(), 4u);
}

TEST (PlainSend, BytesGoOutUnchangedAndCompleteAddsTheEnd)
{
    pex::TxSysexMsg message (0x7D, false);
    appendAll (message, { 0x81, 0xFF });
    message.AppendWord (0x1234);
    message.AppendDWord (0x89ABCDEF);
    message.Complete();

    EXPECT_EQ (hexOf (message), "F0 7D 81 FF 12 34 89 AB CD EF F7");
    EXPECT_TRUE (message.IsComplete());
}
