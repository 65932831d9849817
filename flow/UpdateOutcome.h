#pragma once

#include "catalogue/TargetsResult.h"
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

    /** An end with no details, instructions or notes. */
    static UpdateOutcome of (UpdateEnd end);

    /** How a search for the catalogue that found none ends the run; errorMessage is
        what the search said, shown when the catalogue could not be read.
    */
    static UpdateOutcome ofCatalogueSearch (TargetsResult result, const juce::String& errorMessage);
};
