#include <gtest/gtest.h>

#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    struct UpdateWizardCancel : public ::testing::Test
    {
        void expectCancelled()
        {
            EXPECT_EQ (driver.caption(), UserTexts::updateCancelled);
            EXPECT_EQ (driver.description(), "The update process was aborted");
            EXPECT_EQ (driver.pageText(), "");
            EXPECT_TRUE (driver.isVisible (UserTexts::startOver));
        }

        WizardWorld world;
        UpdateWizard& wizard = world.makeWizard();
        WizardDriver driver { wizard };
    };
}

TEST_F (UpdateWizardCancel, CancelWhileTheCatalogueDownloadStallsEndsTheRunAtOnce)
{
    world.addDevice (WizardWorld::reverbDevice());
    const juce::String catalogue ("<?xml version=\"1.0\"?><Config></Config>");
    world.serve ("/updater/common/config/UpdateTargets.xml", WizardWorld::stallingAfter ({ catalogue.toRawUTF8(), 40 }, 10));

    driver.cancelWhen ([this] { return world.serverWasAskedFor ("/updater/common/config/UpdateTargets.xml"); });
    driver.click (UserTexts::next);

    expectCancelled();
    EXPECT_EQ (wizard.getDevices(), nullptr);
}

TEST_F (UpdateWizardCancel, CancelWhileDevicesAreIdentifiedDiscardsWhatTheScanFound)
{
    auto slow = WizardWorld::reverbDevice();
    slow.replyLatencyMs = 300;
    auto& device = world.addDevice (slow);
    world.serveCatalogue (CatalogueXml().addProduct (slow, "Test Reverb", { { "1.5", "http://127.0.0.1:9/x.bin", {} } }).toString());

    driver.cancelWhen ([this] { return driver.caption() == "Scanning..."; });
    driver.click (UserTexts::next);

    expectCancelled();
    EXPECT_EQ (wizard.getDevices(), nullptr);
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (UpdateWizardCancel, CancelWhileTheImageDownloadStallsLeavesTheDeviceUntouched)
{
    auto& device = world.setUpReverbScene();
    world.serve ("/images/reverb-1.5.bin", WizardWorld::stallingAfter (WizardWorld::makeImage(), 100));

    ASSERT_TRUE (driver.walkToConfirmPage());
    ASSERT_TRUE (driver.toggle (UserTexts::confirmation));
    driver.cancelWhen ([this] { return world.serverWasAskedFor ("/images/reverb-1.5.bin"); });
    driver.click (UserTexts::next);

    expectCancelled();
    EXPECT_FALSE (device.isInUpdateMode());
    EXPECT_EQ (device.readFlash (0, 16), std::vector<juce::uint8> (16, 0xff));
}

TEST_F (UpdateWizardCancel, CancelWhileALargeCatalogueIsParsedEndsTheRunAndLeavesNoWorkerBehind)
{
    // Entities by the million: a parse that once took many seconds and could not be
    // stopped, so that its worker was killed and then wrote into freed memory.
    world.addDevice (WizardWorld::reverbDevice());
    const auto entities = juce::String::repeatedString ("&amp;", (4 << 20) / 5);

    world.serveCatalogue ("<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\"><Product Name=\"Test Reverb\" "
                          "ProductID=\"0x02\" SpecialPreInstructions=\""
                          + entities + "\"/></Family></Brand></Config>");

    driver.cancelWhen ([this] { return driver.labelText() == UserTexts::downloadComplete; });
    driver.click (UserTexts::next);

    expectCancelled();
    EXPECT_EQ (wizard.countUnfinishedWorkers(), 0);
}
