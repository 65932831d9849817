#include "tests/pages/PageTestSupport.h"
#include "wizard/pages/SelectVersionFilterPage.h"

using PageTestSupport::ChangeCounter;
using PageTestSupport::child;
using PageTestSupport::click;

namespace
{
    juce::ToggleButton& latestOnly (SelectVersionFilterPage& page)   { return child<juce::ToggleButton> (page, 0); }
    juce::ToggleButton& allVersions (SelectVersionFilterPage& page)  { return child<juce::ToggleButton> (page, 1); }
}

TEST (SelectVersionFilterPage, CarriesItsCaptionAndDescription)
{
    SelectVersionFilterPage page;

    EXPECT_EQ (page.caption, "Version Filtering");
    EXPECT_EQ (page.description, "Select a version filtering method");
}

TEST (SelectVersionFilterPage, OffersLatestOnlyThenAllVersionsInRadioGroupOne)
{
    SelectVersionFilterPage page;
    ASSERT_EQ (page.getNumChildComponents(), 2);

    auto& latest = latestOnly (page);
    EXPECT_EQ (latest.getName(), "");
    EXPECT_EQ (latest.getButtonText(), "Only show the latest version newer than mine (recommended)");
    EXPECT_EQ (latest.getTooltip(), "Check this to have the updater check the web only for firmware versions that "
                                    "are newer than the version in your device");
    EXPECT_EQ (latest.getRadioGroupId(), 1);
    EXPECT_EQ (latest.getBounds(), juce::Rectangle<int> (16, 64, 376, 24));

    auto& all = allVersions (page);
    EXPECT_EQ (all.getName(), "");
    EXPECT_EQ (all.getButtonText(), "Show all available versions");
    EXPECT_EQ (all.getTooltip(), "Check this to have the updater show all versions of firmware that are available "
                                 "for your device");
    EXPECT_EQ (all.getRadioGroupId(), 1);
    EXPECT_EQ (all.getBounds(), juce::Rectangle<int> (16, 88, 272, 24));
}

TEST (SelectVersionFilterPage, StartsOnLatestOnlyWithoutSendingAChangeMessage)
{
    SelectVersionFilterPage page;
    ChangeCounter changes (page);
    PageTestSupport::dispatchPending();

    EXPECT_TRUE (page.isLatestOnly());
    EXPECT_TRUE (latestOnly (page).getToggleState());
    EXPECT_FALSE (allVersions (page).getToggleState());
    EXPECT_EQ (changes.count, 0);
}

TEST (SelectVersionFilterPage, ChoosingAllVersionsSwitchesLatestOnlyOffAndBroadcasts)
{
    SelectVersionFilterPage page;
    ChangeCounter changes (page);

    click (allVersions (page));

    EXPECT_FALSE (page.isLatestOnly());
    EXPECT_FALSE (latestOnly (page).getToggleState());
    EXPECT_TRUE (allVersions (page).getToggleState());
    EXPECT_EQ (changes.count, 1);

    click (latestOnly (page));

    EXPECT_TRUE (page.isLatestOnly());
    EXPECT_FALSE (allVersions (page).getToggleState());
    EXPECT_EQ (changes.count, 2);
}

TEST (SelectVersionFilterPage, ClickingTheChoiceAlreadyOnKeepsItOnAndStillBroadcasts)
{
    SelectVersionFilterPage page;
    ChangeCounter changes (page);

    click (latestOnly (page));

    EXPECT_TRUE (page.isLatestOnly());
    EXPECT_TRUE (latestOnly (page).getToggleState());
    EXPECT_EQ (changes.count, 1);
}

TEST (SelectVersionFilterPage, IgnoresClicksOfOtherButtons)
{
    SelectVersionFilterPage page;
    ChangeCounter changes (page);
    juce::TextButton stranger;

    page.buttonClicked (&stranger);
    PageTestSupport::dispatchPending();

    EXPECT_EQ (changes.count, 0);
}

TEST (SelectVersionFilterPage, KeepsTheChoiceWhileHiddenAndShownAgain)
{
    SelectVersionFilterPage page;
    click (allVersions (page));

    page.setVisible (false);
    page.setVisible (true);

    EXPECT_FALSE (page.isLatestOnly());
}
