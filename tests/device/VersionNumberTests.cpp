#include "device/MidiTargetDevice.h"
#include "device/ports/VirtualMidiPortSystem.h"
#include "tests/device/DeviceTestSupport.h"

#include <gtest/gtest.h>

namespace
{
    juce::String textOfBytes (juce::uint8 b0, juce::uint8 b1)
    {
        return VersionNumber::fromDeviceBytes (b0, b1).toText();
    }

    int compare (const juce::String& a, const juce::String& b)
    {
        VirtualMidiPortSystem ports;
        const MidiTargetDevice device (devicetest::makeProduct (TargetBrand::Calvio, 1, 1, 1, "Pedal"), ports);
        return device.compareVersions (a, b);
    }
}

TEST (DeviceVersionBytes, SecondByteIsReadAsTwoDecimalDigitsOfTheMinor)
{
    const auto version = VersionNumber::fromDeviceBytes (1, 0x05);
    EXPECT_EQ (version.majorNumber, 1);
    EXPECT_EQ (version.minorNumber, 5);
    EXPECT_EQ (version.toText(), "1.05");
    EXPECT_EQ (textOfBytes (1, 0x50), "1.5");
    EXPECT_EQ (textOfBytes (9, 0x99), "9.99");
    EXPECT_EQ (textOfBytes (1, 0x00), "1.0");
}

TEST (DeviceVersionBytes, ZeroFirstByteMeansMajorInTheHighDigitAndTensOfMinorInTheLowOne)
{
    const auto version = VersionNumber::fromDeviceBytes (0, 0x23);
    EXPECT_EQ (version.majorNumber, 2);
    EXPECT_EQ (version.minorNumber, 30);
    EXPECT_EQ (version.toText(), "2.3");
    EXPECT_EQ (textOfBytes (0, 0x00), "0.0");
}

TEST (DeviceVersionBytes, MajorAboveNineIsWrittenInHexadecimalFollowedByTheDecimalMinor)
{
    EXPECT_EQ (textOfBytes (0x0A, 0x05), "A5");
    EXPECT_EQ (textOfBytes (0x0A, 0x50), "A50");
    EXPECT_EQ (textOfBytes (0x10, 0x00), "100");
    EXPECT_EQ (textOfBytes (0xFF, 0x99), "FF99");
}

TEST (DeviceVersionBytes, DigitsAboveNineStillCountInTheirDecimalPlace)
{
    EXPECT_EQ (VersionNumber::fromDeviceBytes (1, 0xFF).minorNumber, 165);
    EXPECT_EQ (textOfBytes (1, 0xFF), "2.65");
    EXPECT_EQ (textOfBytes (1, 0x1B), "1.21");
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
