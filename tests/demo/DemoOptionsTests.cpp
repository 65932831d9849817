#include "demo/DemoOptions.h"

#include <gtest/gtest.h>

namespace
{
    const juce::File workingFolder ("/home/someone/quillon");

    DemoOptions parse (const juce::StringArray& arguments)
    {
        return DemoOptions::parse (arguments, workingFolder);
    }
}

TEST (DemoOptions, NoArgumentsIsTheInteractiveDemo)
{
    EXPECT_EQ (parse ({}).mode, DemoOptions::Mode::interactive);
}

TEST (DemoOptions, AutopilotTakesNoFurtherArgument)
{
    EXPECT_EQ (parse ({ "--autopilot" }).mode, DemoOptions::Mode::autopilot);
    EXPECT_EQ (parse ({ "--autopilot", "now" }).mode, DemoOptions::Mode::invalid);
}

TEST (DemoOptions, SnapshotsNeedAFolderTakenFromTheWorkingFolderWhenRelative)
{
    const auto relative = parse ({ "--snapshots", "docs/images/pages" });
    EXPECT_EQ (relative.mode, DemoOptions::Mode::snapshots);
    EXPECT_EQ (relative.snapshotFolder, juce::File ("/home/someone/quillon/docs/images/pages"));

    EXPECT_EQ (parse ({ "--snapshots", "/tmp/pages" }).snapshotFolder, juce::File ("/tmp/pages"));
    EXPECT_EQ (parse ({ "--snapshots" }).mode, DemoOptions::Mode::invalid);
    EXPECT_EQ (parse ({ "--snapshots", "" }).mode, DemoOptions::Mode::invalid);
}

TEST (DemoOptions, TheTamperedImageGoesWithTheWizardOrTheAutopilotButNotTheSnapshots)
{
    struct Case
    {
        juce::StringArray arguments;
        DemoOptions::Mode mode;
    };

    const Case cases[] {
        { { "--tampered-image" }, DemoOptions::Mode::interactive },
        { { "--autopilot", "--tampered-image" }, DemoOptions::Mode::autopilot },
        { { "--tampered-image", "--autopilot" }, DemoOptions::Mode::autopilot },
        { { "--snapshots", "x", "--tampered-image" }, DemoOptions::Mode::invalid },
        { { "--tampered-image", "--snapshots", "x" }, DemoOptions::Mode::invalid }
    };

    for (const auto& c : cases)
    {
        const auto options = parse (c.arguments);
        EXPECT_EQ (options.mode, c.mode) << c.arguments.joinIntoString (" ");
        EXPECT_TRUE (options.tamperedImage || options.mode == DemoOptions::Mode::invalid) << c.arguments.joinIntoString (" ");
    }

    EXPECT_FALSE (parse ({ "--autopilot" }).tamperedImage);
}

TEST (DemoOptions, AnythingElseIsInvalid)
{
    EXPECT_EQ (parse ({ "--help" }).mode, DemoOptions::Mode::invalid);
    EXPECT_EQ (parse ({ "--autopilot", "--snapshots", "x" }).mode, DemoOptions::Mode::invalid);
    EXPECT_EQ (parse ({ "autopilot" }).mode, DemoOptions::Mode::invalid);
}
