#include <gtest/gtest.h>

#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    struct UpdateWizardNavigation : public ::testing::Test
    {
        UpdateWizardNavigation()
        {
            world.setUpReverbScene (WizardWorld::reverbDevice(), {}, "Hold TAP while you switch it on.");
        }

        WizardWorld world;
        UpdateWizard& wizard = world.makeWizard();
        WizardDriver driver { wizard };
    };
}

TEST_F (UpdateWizardNavigation, BackStepsThroughThePagesInReverse)
{
    ASSERT_TRUE (driver.walkTo (UserTexts::prepareToUpdate));

    const char* expected[] = { UserTexts::confirm, UserTexts::updatesAvailable, UserTexts::versionFiltering, UserTexts::foundDevices, UserTexts::welcome };

    for (auto* caption : expected)
    {
        EXPECT_TRUE (driver.isEnabled (UserTexts::back));
        driver.click (UserTexts::back);
        EXPECT_EQ (driver.caption(), caption);
    }

    EXPECT_EQ (wizard.getDevices(), nullptr) << "going back to the start forgets the devices";
    EXPECT_FALSE (driver.isEnabled (UserTexts::back));
}

TEST_F (UpdateWizardNavigation, BackToTheUpdateListRefillsItAndKeepsNextUsable)
{
    ASSERT_TRUE (driver.walkTo (UserTexts::confirm));
    ASSERT_TRUE (driver.toggle (UserTexts::confirmation));
    driver.click (UserTexts::back);

    EXPECT_EQ (driver.listedItems().size(), 1);
    EXPECT_TRUE (driver.isEnabled (UserTexts::next));

    driver.click (UserTexts::next);
    EXPECT_EQ (driver.caption(), UserTexts::confirm);
    EXPECT_TRUE (driver.isEnabled (UserTexts::next)) << "the tick box keeps its state";
}

TEST_F (UpdateWizardNavigation, AllVersionsChoiceListsEveryRevisionAndSurvivesStartingOver)
{
    ASSERT_TRUE (driver.walkTo (UserTexts::versionFiltering));
    ASSERT_TRUE (driver.toggle (UserTexts::allVersions));
    driver.click (UserTexts::next);

    EXPECT_EQ (driver.listedItems().size(), 2);
    EXPECT_FALSE (driver.isEnabled (UserTexts::next)) << "two revisions: the user must pick one";

    ASSERT_TRUE (driver.choose (0));
    EXPECT_TRUE (driver.isEnabled (UserTexts::next));

    driver.click (UserTexts::back);
    driver.click (UserTexts::back);
    driver.click (UserTexts::back);
    ASSERT_EQ (driver.caption(), UserTexts::welcome);

    ASSERT_TRUE (driver.walkTo (UserTexts::updatesAvailable));
    EXPECT_EQ (driver.listedItems().size(), 2);
}

TEST_F (UpdateWizardNavigation, StartOverAfterAResultRunsASecondPassThatFetchesAgain)
{
    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withText ("gone", 200, "text/plain"));
    ASSERT_TRUE (driver.walkTo (UserTexts::unableToConnect));
    const auto requestsOfFirstPass = world.server.getRequests().size();

    driver.click (UserTexts::startOver);
    EXPECT_EQ (driver.caption(), UserTexts::welcome);
    EXPECT_TRUE (driver.isVisible (UserTexts::next));
    EXPECT_FALSE (driver.isVisible (UserTexts::startOver));
    EXPECT_EQ (wizard.getDevices(), nullptr);

    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withData (WizardWorld::makeImage()));
    ASSERT_TRUE (driver.walkTo (UserTexts::updateSucceeded));
    EXPECT_GT (world.server.getRequests().size(), requestsOfFirstPass + 1);
}

TEST_F (UpdateWizardNavigation, DoneAsksTheProgramToQuit)
{
    ASSERT_TRUE (driver.walkTo (UserTexts::updateSucceeded));
    driver.click (UserTexts::done);

    EXPECT_EQ (world.getQuitRequests(), 1);
}
