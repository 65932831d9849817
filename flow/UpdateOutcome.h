#pragma once

#include "flow/UpdateEnd.h"
#include "flow/UpdateResult.h"

#include <juce_core/juce_core.h>

/** How one device's update (or the search before it) ended: the way it ended, and
    what the front ends show with it.
*/
struct UpdateOutcome
{
    UpdateEnd end = UpdateEnd::programmingFailed;
    juce::String details;             // the body, for the pages that show details
    juce::String postInstructions;    // the body after a success, when the revision has one
    juce::StringArray notes;          // where the device was left, for the client to add below the body

    /** The results page that shows end. */
    UpdateResult getResultsPage() const noexcept;
};
