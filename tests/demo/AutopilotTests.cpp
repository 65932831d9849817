#include "tests/demo/AutopilotRun.h"

#include <gtest/gtest.h>

namespace
{
    DemoSetup standardWith (const std::function<void (DemoSetup&)>& change)
    {
        auto setup = DemoSetup::standard (false);
        change (setup);
        return setup;
    }
}

TEST (Autopilot, UpdatesTheFirstDeviceWithAnUpdateSoThatItsFlashHoldsTheImageAndPressesDone)
{
    AutopilotRun run (DemoSetup::standard (false));
    ASSERT_TRUE (run.runToEnd());

    EXPECT_EQ (run.report->outcome, "Update Succeeded");
    EXPECT_TRUE (run.report->flashMatches);
    EXPECT_TRUE (run.report->problem.isEmpty()) << run.report->problem;
    EXPECT_TRUE (run.report->succeeded());
    EXPECT_EQ (run.quitRequests, 1);

    const juce::StringArray expected {
        "Welcome - Welcome to Quillon",
        "Downloading Update Information... - Checking for available firmware updates",
        "Scanning... - Please wait while we look for connected devices",
        "Found Devices - Select a device to be updated",
        "Version Filtering - Select a version filtering method",
        "Updates are Available - Select a firmware version for your device",
        "Confirm - Confirm your choices",
        "Downloading File... - The image file is being downloaded from the server",
        "Updating... - Please wait while your device's firmware is updated",
        "Update Succeeded - The update completed successfully"
    };
    EXPECT_EQ (run.headers, expected);
}

TEST (Autopilot, ReadsTheInstructionsOfADeviceWaitingInUpdateModeAndUpdatesIt)
{
    AutopilotRun run (DemoSetup::standard (false), AutopilotRoute { AutopilotRoute::Device::firstWithInstructions });
    ASSERT_TRUE (run.runToEnd());

    EXPECT_TRUE (run.report->succeeded()) << run.report->outcome << " " << run.report->problem;

    const auto instructions = run.headers.indexOf ("Prepare to Update - Please follow these instructions before continuing");
    ASSERT_GE (instructions, 0);
    EXPECT_EQ (run.headers[instructions + 1], "Downloading File... - The image file is being downloaded from the server");
}

TEST (Autopilot, ReportsAFailedUpdateWithAFlashThatDoesNotHoldTheImage)
{
    AutopilotRun run (standardWith ([] (DemoSetup& s) { s.makeWritesFail(); }));
    ASSERT_TRUE (run.runToEnd());

    EXPECT_EQ (run.report->outcome, "Update Failed");
    EXPECT_FALSE (run.report->flashMatches);
    EXPECT_FALSE (run.report->succeeded());
    EXPECT_EQ (run.quitRequests, 1);
}

TEST (Autopilot, CancelsAStalledDownloadWithTheDownloadPagesOwnButton)
{
    AutopilotRun run (standardWith ([] (DemoSetup& s) { s.imagesStallAfter = 1024; }),
                      AutopilotRoute { AutopilotRoute::Device::firstWithUpdate, true });
    ASSERT_TRUE (run.runToEnd());

    EXPECT_EQ (run.report->outcome, "Update Cancelled");
    EXPECT_FALSE (run.report->succeeded());
    EXPECT_NE (std::find (run.readyPages.begin(), run.readyPages.end(), PageKind::download), run.readyPages.end());
}

TEST (Autopilot, EndsOnTheResultsPageThatEachVariantOfTheWorldLeadsTo)
{
    struct Case
    {
        DemoSetup setup;
        AutopilotRoute::Device device;
        const char* outcome;
    };

    const Case cases[] {
        { DemoSetup::standard (false), AutopilotRoute::Device::firstUpToDate, "No Updates Were Found" },
        { standardWith ([] (DemoSetup& s) { s.devices.clear(); }), AutopilotRoute::Device::firstWithUpdate, "No Devices Were Found" },
        { standardWith ([] (DemoSetup& s) { s.catalogue = DemoSetup::Catalogue::missing; }), AutopilotRoute::Device::firstWithUpdate, "Unable to Connect" },
        { standardWith ([] (DemoSetup& s) { s.catalogue = DemoSetup::Catalogue::corrupt; }), AutopilotRoute::Device::firstWithUpdate, "Invalid Targets File" }
    };

    for (const auto& c : cases)
    {
        AutopilotRun run (c.setup, AutopilotRoute { c.device });
        ASSERT_TRUE (run.runToEnd()) << c.outcome;

        EXPECT_EQ (run.report->outcome, c.outcome);
        EXPECT_FALSE (run.report->flashMatches) << c.outcome;
        EXPECT_FALSE (run.report->succeeded()) << c.outcome;
        EXPECT_EQ (run.readyPages.back(), PageKind::results) << c.outcome;
    }
}

TEST (Autopilot, GivesUpWhenNoDeviceFoundSuitsItsRoute)
{
    AutopilotRun run (standardWith ([] (DemoSetup& s) { s.devices.erase (s.devices.begin(), s.devices.begin() + 2); }));
    ASSERT_TRUE (run.runToEnd());

    EXPECT_TRUE (run.report->outcome.isEmpty());
    EXPECT_EQ (run.report->problem, "none of the devices found suits the route");
    EXPECT_FALSE (run.report->succeeded());
    EXPECT_EQ (run.quitRequests, 0);
}

TEST (Autopilot, GivesUpOnThePageItIsOnWhenItsTimeRunsOut)
{
    AutopilotRun run (DemoSetup::standard (false), {}, 0);
    ASSERT_TRUE (run.runToEnd());

    EXPECT_EQ (run.report->problem, "no outcome after 0 s, on the page \"Welcome\"");
    EXPECT_FALSE (run.report->succeeded());
}
