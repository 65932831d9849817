#pragma once

#include <juce_core/juce_core.h>

#include "flow/UpdateResult.h"

/** The texts a run of an update ends with, and those that ask the user to confirm it,
    kept out of the pages so that the wizard and the command-line tool say exactly the
    same thing.
*/
struct UpdateTexts
{
    /** The results page's caption for outcome, e.g. "Update Succeeded". */
    static juce::String caption (UpdateResult outcome);

    /** The results page's line under the caption. */
    static juce::String description (UpdateResult outcome);

    /** The results page's body: a fixed text for the outcomes that have one, else
        details; after a success the revision's postInstructions when it has any.
    */
    static juce::String body (UpdateResult outcome, const juce::String& details, const juce::String& postInstructions);

    /** The question on the confirmation page. */
    static juce::String confirmationQuestion (const juce::String& deviceName, const juce::String& version);

    static constexpr const char* settingsWarning = "WARNING: All user presets and settings may be erased!";
    static constexpr const char* acknowledgement = "Yes, I realize my settings may be lost. I want to proceed.";
};
