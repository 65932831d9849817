#include "device/MidiTargetDevice.h"
#include "sim/ports/VirtualMidiPortSystem.h"
#include "tests/device/DeviceTestSupport.h"

#include <gtest/gtest.h>

namespace
{
    /** The version two device bytes make, as "major minor text". */
    std::string decoded (juce::uint8 b0, juce::uint8 b1)
    {
        const auto version = VersionNumber::fromDeviceBytes (b0, b1);
        return std::to_string (version.majorNumber) + " " + std::to_string (version.minorNumber) + " "
             + version.toText().toStdString();
    }

    int compare (const juce::String& a, const juce::String& b)
    {
        VirtualMidiPortSystem ports;
        const MidiTargetDevice device (devicetest::makeProduct (TargetBrand::Calvio, 1, 1, 1, "Pedal"), ports, ReplyTimeouts {});
        return device.compareVersions (a, b);
    }
}

TEST (DeviceVersionBytes, SecondByteIsReadAsTwoDecimalDigitsOfTheMinor)
{
    EXPECT_EQ (decoded (1, 0x05), "1 5 1.05");
    EXPECT_EQ (decoded (1, 0x50), "1 50 1.5");
    EXPECT_EQ (decoded (9, 0x99), "9 99 9.99");
    EXPECT_EQ (decoded (1, 0x00), "1 0 1.0");
}

TEST (DeviceVersionBytes, ZeroFirstByteMeansMajorInTheHighDigitAndTensOfMinorInTheLowOne)
{
    EXPECT_EQ (decoded (0, 0x23), "2 30 2.3");
    EXPECT_EQ (decoded (0, 0x00), "0 0 0.0");
}

TEST (DeviceVersionBytes, MajorAboveNineIsWrittenInHexadecimalFollowedByTheDecimalMinor)
{
    EXPECT_EQ (decoded (0x0A, 0x05), "10 5 A5");
    EXPECT_EQ (decoded (0x0A, 0x50), "10 50 A50");
    EXPECT_EQ (decoded (0x10, 0x00), "16 0 100");
    EXPECT_EQ (decoded (0xFF, 0x99), "255 99 FF99");
}

TEST (DeviceVersionBytes, DigitsAboveNineStillCountInTheirDecimalPlace)
{
    EXPECT_EQ (decoded (1, 0xFF), "1 165 2.65");
    EXPECT_EQ (decoded (1, 0x1B), "1 21 1.21");
}

TEST (VersionComparison, ComparesMajorsFirstThenMinors)
{
    EXPECT_EQ (compare ("2.0", "1.99"), 1);
    EXPECT_EQ (compare ("1.99", "2.0"), -1);
    EXPECT_EQ (compare ("1.10", "1.9"), 1);
    EXPECT_EQ (compare ("1.2", "1.2"), 0);
}

TEST (VersionComparison, DigitsAfterThePointAreReadAsOneWholeNumber)
{
    EXPECT_EQ (compare ("1.5", "1.05"), 0);
    EXPECT_EQ (compare ("1.20", "1.5"), 1);
}

TEST (VersionComparison, TextWithoutAPointIsReadWithAHexadecimalMajor)
{
    EXPECT_EQ (compare ("10", "15.0"), 1);      // 0x10
    EXPECT_EQ (compare ("3", "3.0"), 0);
    EXPECT_EQ (compare ("2.x", "2.0"), 0);
}

TEST (VersionComparison, TextThatFillsNeitherPatternReadsAsZero)
{
    EXPECT_EQ (compare ("", "0.0"), 0);
    EXPECT_EQ (compare ("Unspecified", "0.0"), 0);
    EXPECT_EQ (compare ("0.1", ""), 1);
    EXPECT_EQ (compare ("", "0.1"), -1);
}
