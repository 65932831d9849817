#pragma once

#include <juce_core/juce_core.h>

/** One firmware revision of a catalogue product, as the targets file gives it.
    version is kept exactly as written; the device model compares it with the
    version a device reports.
*/
struct TargetRevision
{
    juce::String version;
    juce::String releaseDate;
    juce::String imageUrl;
    juce::String releaseNotesUrl;
    juce::String specialPostInstructions;
};
