#pragma once

#include <juce_core/juce_core.h>

/** A firmware version: a major and a minor number, as a device reports it in two bytes
    and as the catalogue writes it in text.

    A copyable value.
*/
struct VersionNumber
{
    int majorNumber = 0;
    int minorNumber = 0;

    /** The version a device reports: b0 is the major number and b1 two decimal digits of
        the minor one, except that a b0 of 0 means b1 holds the major number in its high
        digit and the minor's tens in its low one.
    */
    static VersionNumber fromDeviceBytes (juce::uint8 b0, juce::uint8 b1) noexcept;

    /** Reads a version text: "major.minor" in decimal, or, when the leading number is not
        followed by a point, a hexadecimal major followed at once by a decimal minor (the
        form toText gives majors above 9). Numbers the text does not supply are 0.
    */
    static VersionNumber fromText (const juce::String& text);

    /** "1.5", "1.05", or for a major above 9 its hexadecimal digits followed by the minor
        in decimal ("A5").
    */
    juce::String toText() const;

    /** 1 when this is newer than other, -1 when older, 0 when both are the same. */
    int compare (const VersionNumber& other) const noexcept;
};
