#include <gtest/gtest.h>

#include "tests/support/ChangeCounter.h"
#include "tests/support/ComponentFinder.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/MessageLoop.h"
#include "tests/support/UserTexts.h"
#include "wizard/pages/SelectVersionFilterPage.h"

using ComponentFinder::child;
using MessageLoop::click;

class SelectVersionFilterPageTest : public ::testing::Test
{
protected:
    juce::ToggleButton& latestOnly() { return child<juce::ToggleButton> (page, 0); }
    juce::ToggleButton& allVersions() { return child<juce::ToggleButton> (page, 1); }

    // Exactly one of the two choices is on, and isLatestOnly agrees with it.
    void expectLatestOnlyChosen (bool chosen)
    {
        EXPECT_EQ (page.isLatestOnly(), chosen);
        EXPECT_EQ (latestOnly().getToggleState(), chosen);
        EXPECT_EQ (allVersions().getToggleState(), ! chosen);
    }

    SelectVersionFilterPage page;
    ChangeCounter changes { page };
};

TEST_F (SelectVersionFilterPageTest, CarriesItsCaptionAndDescription)
{
    EXPECT_EQ (page.caption, UserTexts::versionFiltering);
    EXPECT_EQ (page.description, "Select a version filtering method");
}

TEST_F (SelectVersionFilterPageTest, OffersLatestOnlyThenAllVersionsInRadioGroupOne)
{
    ASSERT_EQ (page.getNumChildComponents(), 2);

    auto& latest = latestOnly();
    EXPECT_EQ (latest.getName(), "");
    EXPECT_EQ (latest.getButtonText(), UserTexts::latestVersionOnly);
    EXPECT_EQ (latest.getTooltip(), "Check this to have the updater check the web only for firmware versions that "
                                    "are newer than the version in your device");
    EXPECT_EQ (latest.getRadioGroupId(), 1);
    EXPECT_EQ (latest.getBounds(), juce::Rectangle<int> (16, 64, 376, 24));

    auto& all = allVersions();
    EXPECT_EQ (all.getName(), "");
    EXPECT_EQ (all.getButtonText(), UserTexts::allVersions);
    EXPECT_EQ (all.getTooltip(), "Check this to have the updater show all versions of firmware that are available "
                                 "for your device");
    EXPECT_EQ (all.getRadioGroupId(), 1);
    EXPECT_EQ (all.getBounds(), juce::Rectangle<int> (16, 88, 272, 24));
}

TEST_F (SelectVersionFilterPageTest, StartsOnLatestOnlyWithoutSendingAChangeMessage)
{
    MessageLoop::dispatchPending();

    expectLatestOnlyChosen (true);
    EXPECT_EQ (changes.count, 0);
}

TEST_F (SelectVersionFilterPageTest, ChoosingTheOtherOptionSwitchesTheFirstOffAndBroadcasts)
{
    click (allVersions());
    expectLatestOnlyChosen (false);
    EXPECT_EQ (changes.count, 1);

    click (latestOnly());
    expectLatestOnlyChosen (true);
    EXPECT_EQ (changes.count, 2);
}

TEST_F (SelectVersionFilterPageTest, ClickingTheChoiceAlreadyOnKeepsItOnAndStillBroadcasts)
{
    click (latestOnly());

    expectLatestOnlyChosen (true);
    EXPECT_EQ (changes.count, 1);
}
