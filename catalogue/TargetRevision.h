#pragma once

#include <optional>
#include <juce_core/juce_core.h>

/** One firmware revision of a catalogue product, as the targets file gives it.
    version is kept exactly as written; the device model compares it with the
    version a device reports.

    imageSize and imageSha256 are what the image at imageUrl must be, when the
    catalogue says: its length in bytes, and its SHA-256 digest as 64 lower-case
    hexadecimal digits (empty when not given).
*/
struct TargetRevision
{
    juce::String version;
    juce::String releaseDate;
    juce::String imageUrl;
    juce::String releaseNotesUrl;
    juce::String specialPostInstructions;
    std::optional<juce::int64> imageSize;
    juce::String imageSha256;
};
