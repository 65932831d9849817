#pragma once

#include "demo/AutopilotRoute.h"
#include "demo/DemoSetup.h"
#include "demo/PageKind.h"

#include <vector>

/** One run of the snapshot tour: a world, the autopilot's route through it, the pages
    photographed on the way (besides the results page, always photographed) and the
    outcome the run must end with. A plain value.
*/
struct SnapshotScene
{
    /** The runs that between them show all ten pages and every outcome the demo's
        world, or a variant of it, can reach.
    */
    static std::vector<SnapshotScene> tour();

    DemoSetup setup;
    AutopilotRoute route;
    std::vector<PageKind::Kind> pages;
    juce::String outcome;

    /** Tells this scene's results picture from another scene's with the same outcome. */
    juce::String variant = {};
};
