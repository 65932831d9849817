#include <gtest/gtest.h>

#include "tests/wizard/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    struct UpdateWizardNavigation : public ::testing::Test
    {
        UpdateWizardNavigation()
        {
            world.setUpReverbScene (WizardWorld::reverbDevice(), {}, "Hold TAP while you switch it on.");
        }

        void walkTo (const juce::String& caption)
        {
            for (int step = 0; step < 8 && driver.caption() != caption; ++step)
            {
                if (driver.caption() == "Confirm")
                    driver.toggle ("Yes, I realize my settings may be lost. I want to proceed.");

                driver.click ("Next >");
            }

            ASSERT_EQ (driver.caption(), caption);
        }

        WizardWorld world;
        UpdateWizard& wizard = world.makeWizard();
        WizardDriver driver { wizard };
    };
}

TEST_F (UpdateWizardNavigation, BackStepsThroughThePagesInReverse)
{
    walkTo ("Prepare to Update");

    const char* expected[] = { "Confirm", "Updates are Available", "Version Filtering", "Found Devices", "Welcome" };

    for (auto* caption : expected)
    {
        EXPECT_TRUE (driver.isEnabled ("< Back"));
        driver.click ("< Back");
        EXPECT_EQ (driver.caption(), caption);
    }

    EXPECT_EQ (wizard.getDevices(), nullptr) << "going back to the start forgets the devices";
    EXPECT_FALSE (driver.isEnabled ("< Back"));
}

TEST_F (UpdateWizardNavigation, BackToTheUpdateListRefillsItAndKeepsNextUsable)
{
    walkTo ("Confirm");
    driver.toggle ("Yes, I realize my settings may be lost. I want to proceed.");
    driver.click ("< Back");

    EXPECT_EQ (driver.listedItems().size(), 1);
    EXPECT_TRUE (driver.isEnabled ("Next >"));

    driver.click ("Next >");
    EXPECT_EQ (driver.caption(), "Confirm");
    EXPECT_TRUE (driver.isEnabled ("Next >")) << "the tick box keeps its state";
}

TEST_F (UpdateWizardNavigation, AllVersionsChoiceListsEveryRevisionAndSurvivesStartingOver)
{
    walkTo ("Version Filtering");
    driver.toggle ("Show all available versions");
    driver.click ("Next >");

    EXPECT_EQ (driver.listedItems().size(), 2);
    EXPECT_FALSE (driver.isEnabled ("Next >")) << "two revisions: the user must pick one";

    driver.choose (0);
    EXPECT_TRUE (driver.isEnabled ("Next >"));

    driver.click ("< Back");
    driver.click ("< Back");
    driver.click ("< Back");
    ASSERT_EQ (driver.caption(), "Welcome");

    walkTo ("Updates are Available");
    EXPECT_EQ (driver.listedItems().size(), 2);
}

TEST_F (UpdateWizardNavigation, StartOverAfterAResultRunsASecondPassThatFetchesAgain)
{
    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withText ("gone", 200, "text/plain"));
    walkTo ("Unable to Connect");
    const auto requestsOfFirstPass = world.server.getRequests().size();

    driver.click ("<< Start Over");
    EXPECT_EQ (driver.caption(), "Welcome");
    EXPECT_TRUE (driver.isVisible ("Next >"));
    EXPECT_FALSE (driver.isVisible ("<< Start Over"));
    EXPECT_EQ (wizard.getDevices(), nullptr);

    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withData (WizardWorld::makeImage()));
    walkTo ("Update Succeeded");
    EXPECT_GT (world.server.getRequests().size(), requestsOfFirstPass + 1);
}

TEST_F (UpdateWizardNavigation, DoneAsksTheProgramToQuit)
{
    walkTo ("Update Succeeded");
    driver.click ("Done");

    EXPECT_EQ (world.getQuitRequests(), 1);
}
