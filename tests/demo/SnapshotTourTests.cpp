#include "demo/SnapshotTour.h"
#include "tests/support/MessageLoop.h"
#include "wizard/pages/ConfirmPage.h"
#include "wizard/pages/ResultsPage.h"
#include "wizard/pages/WelcomePage.h"

#include <gtest/gtest.h>

namespace
{
    SnapshotScene sceneWithoutDevices (const juce::String& outcome)
    {
        SnapshotScene scene;
        scene.setup = DemoSetup::standard (false);
        scene.setup.devices.clear();
        scene.route.pressDone = false;
        scene.pages = { PageKind::welcome };
        scene.outcome = outcome;
        return scene;
    }

    struct SnapshotTourTest : public ::testing::Test
    {
        ~SnapshotTourTest() override
        {
            tour.reset();
            folder.deleteRecursively();
        }

        bool run (std::vector<SnapshotScene> scenes)
        {
            tour = std::make_unique<SnapshotTour> (stage, folder, std::move (scenes),
                                                   [this] (const juce::String& line) { lines.add (line); },
                                                   [this] (bool complete) { result = complete; });

            MessageLoop::dispatchUntil ([this] { return result.has_value(); }, 30000);
            return result.value_or (false);
        }

        const juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                      .getChildFile ("quillon-snapshots-" + juce::String::toHexString (juce::Random().nextInt64()));
        DemoStage stage;
        std::unique_ptr<SnapshotTour> tour;
        std::optional<bool> result;
        juce::StringArray lines;
    };
}

TEST (SnapshotTourNames, NumberPagesInTheOrderOfTheFlowAndNameEachResultByItsOutcome)
{
    WelcomePage welcome;
    ConfirmPage confirm;
    ResultsPage results;
    results.caption = "No Devices Were Found";

    EXPECT_EQ (SnapshotTour::fileNameFor (welcome), "01-welcome.png");
    EXPECT_EQ (SnapshotTour::fileNameFor (confirm), "06-confirm.png");
    EXPECT_EQ (SnapshotTour::fileNameFor (results), "10-results-no-devices-were-found.png");
    EXPECT_EQ (SnapshotTour::fileNameFor (results, "tampered-image"), "10-results-no-devices-were-found-tampered-image.png");
    EXPECT_EQ (SnapshotTour::fileNameFor (welcome, "tampered-image"), "01-welcome.png");
}

TEST_F (SnapshotTourTest, SavesEveryPageASceneWantsAsAPictureOfTheWindow)
{
    ASSERT_TRUE (run ({ sceneWithoutDevices ("No Devices Were Found") })) << lines.joinIntoString ("\n");

    for (const auto* name : { "01-welcome.png", "10-results-no-devices-were-found.png" })
    {
        const auto picture = juce::ImageFileFormat::loadFrom (folder.getChildFile (name));
        ASSERT_TRUE (picture.isValid()) << name;
        EXPECT_EQ (picture.getWidth(), stage.getWidth());
        EXPECT_EQ (picture.getHeight(), stage.getHeight());
    }

    EXPECT_TRUE (lines.contains ("Saved " + folder.getChildFile ("01-welcome.png").getFullPathName()));
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles), 2);
}

TEST_F (SnapshotTourTest, ReportsASceneThatEndsOtherwiseThanExpected)
{
    EXPECT_FALSE (run ({ sceneWithoutDevices ("Update Succeeded") }));
    EXPECT_TRUE (lines.contains ("Scene 1 (Update Succeeded) ended with \"No Devices Were Found\"")) << lines.joinIntoString ("\n");
}

TEST_F (SnapshotTourTest, ReportsAPageTheSceneNeverReached)
{
    auto scene = sceneWithoutDevices ("No Devices Were Found");
    scene.pages.push_back (PageKind::confirm);

    EXPECT_FALSE (run ({ scene }));
    EXPECT_TRUE (lines.contains ("Scene 1 (No Devices Were Found): no picture of the confirm page")) << lines.joinIntoString ("\n");
}
