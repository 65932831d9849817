#pragma once

#include "cli/ExitCode.h"
#include "flow/UpdateResult.h"

#include <juce_core/juce_core.h>

/** How a command ended: the results page it corresponds to, with that page's texts,
    the exit code, and any lines the tool adds below the page's body.
*/
struct RunOutcome
{
    UpdateResult result = UpdateResult::UpdateFailed;
    ExitCode exitCode = ExitCode::updateFailed;
    juce::String details;             // the body, for the pages that show details
    juce::String postInstructions;    // the body after a success, when the revision has one
    juce::StringArray notes;
};
