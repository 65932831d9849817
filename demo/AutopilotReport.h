#pragma once

#include <juce_core/juce_core.h>

/** How an autopilot run ended. A plain value. */
struct AutopilotReport
{
    /** The results page's caption, or empty when the run never got there. */
    juce::String outcome;

    /** Whether the updated device's flash holds the chosen image inside its regions. */
    bool flashMatches = false;

    /** What went wrong with the run itself (it never got to the results page, or
        could not press "Done"); empty when nothing did. */
    juce::String problem;

    bool succeeded() const noexcept { return outcome == "Update Succeeded" && flashMatches && problem.isEmpty(); }
};
