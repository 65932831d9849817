#include "device/VersionNumber.h"

#include <cstdio>

VersionNumber VersionNumber::fromDeviceBytes (juce::uint8 b0, juce::uint8 b1) noexcept
{
    const auto highDigit = b1 >> 4;
    const auto lowDigit = b1 & 0x0F;

    if (b0 == 0)
        return { highDigit, lowDigit * 10 };

    return { b0, highDigit * 10 + lowDigit };
}

VersionNumber VersionNumber::fromText (const juce::String& text)
{
    const auto* chars = text.toRawUTF8();
    VersionNumber version;

    if (std::sscanf (chars, "%d.%d", &version.majorNumber, &version.minorNumber) == 1)
    {
        unsigned int hexMajor = 0;
        std::sscanf (chars, "%X%d", &hexMajor, &version.minorNumber);
        version.majorNumber = (int) hexMajor;
    }

    return version;
}

juce::String VersionNumber::toText() const
{
    char text[64] = {};

    if (majorNumber > 9)
    {
        std::snprintf (text, sizeof (text), "%X%d", (unsigned int) majorNumber, minorNumber);
    }
    else
    {
        // Rounded as the catalogue's version texts were written: from single precision.
        const auto value = (float) (majorNumber + minorNumber / 100.0);
        std::snprintf (text, sizeof (text), "%.*f", minorNumber % 10 == 0 ? 1 : 2, (double) value);
    }

    return text;
}

int VersionNumber::compare (const VersionNumber& other) const noexcept
{
    if (majorNumber != other.majorNumber)
        return majorNumber > other.majorNumber ? 1 : -1;

    if (minorNumber != other.minorNumber)
        return minorNumber > other.minorNumber ? 1 : -1;

    return 0;
}
