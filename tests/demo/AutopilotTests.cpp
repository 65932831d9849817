#include "tests/demo/AutopilotRun.h"
#include "tests/support/WizardDriver.h"

#include <gtest/gtest.h>

namespace
{
    DemoSetup standardWith (const std::function<void (DemoSetup&)>& change)
    {
        auto setup = DemoSetup::standard (false);
        change (setup);
        return setup;
    }

    // Each device's mode and the flash inside its regions, in the order of the setup.
    using DeviceStates = std::vector<std::pair<bool, std::vector<juce::uint8>>>;

    DeviceStates statesOf (const DemoWorld& world, const DemoSetup& setup)
    {
        DeviceStates states;

        for (const auto& config : setup.devices)
        {
            const auto* device = world.findDevice (config.portName);
            std::vector<juce::uint8> flash;

            for (const auto& region : config.memoryMap.regions)
            {
                const auto bytes = device->readFlash (region.start, region.length);
                flash.insert (flash.end(), bytes.begin(), bytes.end());
            }

            states.emplace_back (device->isInUpdateMode(), std::move (flash));
        }

        return states;
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

// None of these runs may touch a device: its mode and flash stay as they were.
TEST (Autopilot, EndsOnTheResultsPageThatEachVariantOfTheWorldLeadsTo)
{
    struct Case
    {
        DemoSetup setup;
        AutopilotRoute::Device device;
        const char* outcome;
        const char* pageText;   // the results page's text; nullptr: not looked at
    };

    // clang-format off
    const Case cases[] {
        { DemoSetup::standard (false), AutopilotRoute::Device::firstUpToDate, "No Updates Were Found", nullptr },
        { standardWith ([] (DemoSetup& s) { s.devices.clear(); }), AutopilotRoute::Device::firstWithUpdate, "No Devices Were Found", nullptr },
        { standardWith ([] (DemoSetup& s) { s.catalogue = DemoSetup::Catalogue::missing; }), AutopilotRoute::Device::firstWithUpdate, "Unable to Connect", nullptr },
        { standardWith ([] (DemoSetup& s) { s.catalogue = DemoSetup::Catalogue::corrupt; }), AutopilotRoute::Device::firstWithUpdate, "Invalid Targets File", nullptr },
        { standardWith ([] (DemoSetup& s) { s.images = DemoSetup::Images::oneTampered; }), AutopilotRoute::Device::firstWithUpdate, "Update Failed",
          "The downloaded image is damaged or is not the one the catalogue names" }
    };
    // clang-format on

    for (const auto& c : cases)
    {
        AutopilotRun run (c.setup, AutopilotRoute { c.device });
        const auto before = statesOf (*run.stage.getWorld(), c.setup);
        ASSERT_TRUE (run.runToEnd()) << c.outcome;

        EXPECT_EQ (run.report->outcome, c.outcome);
        EXPECT_FALSE (run.report->flashMatches) << c.outcome;
        EXPECT_FALSE (run.report->succeeded()) << c.outcome;
        EXPECT_EQ (run.readyPages.back(), PageKind::results) << c.outcome;
        EXPECT_TRUE (statesOf (*run.stage.getWorld(), c.setup) == before) << c.outcome;

        if (c.pageText != nullptr)
            EXPECT_EQ (WizardDriver (*run.stage.getWizard()).pageText(), c.pageText) << c.outcome;
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
