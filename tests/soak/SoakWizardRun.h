#pragma once

#include "tests/soak/SoakScenario.h"

#include <vector>

/** One complete update of a soak scenario through the wizard itself, clicked through
    its pages as a user would, in a world of its own (ports, device, update server and
    program folder) that is gone again when run returns. Message thread.
*/
struct SoakWizardRun
{
    /** What the user is left with. */
    struct Result
    {
        juce::String caption;
        juce::String details;
        std::vector<std::vector<juce::uint8>> regionFlash;   // each region's bytes, in map order
    };

    /** Ports refused after the scan are the input's, from the first opening on. */
    static bool canRun (const SoakScenario& scenario) noexcept;

    static Result run (const SoakScenario& scenario);
};
