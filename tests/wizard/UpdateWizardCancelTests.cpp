#include <gtest/gtest.h>

#include "tests/wizard/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    struct UpdateWizardCancel : public ::testing::Test
    {
        void expectCancelled()
        {
            EXPECT_EQ (driver.caption(), "Update Cancelled");
            EXPECT_EQ (driver.description(), "The update process was aborted");
            EXPECT_EQ (driver.pageText(), "");
            EXPECT_TRUE (driver.isVisible ("<< Start Over"));
        }

        bool serverWasAskedFor (const juce::String& path) const
        {
            for (const auto& request : world.server.getRequests())
                if (request.target.startsWith (path))
                    return true;

            return false;
        }

        WizardWorld world;
        UpdateWizard& wizard = world.makeWizard();
        WizardDriver driver { wizard };
    };

    LoopbackServer::Answer stallingAfter (size_t bytes, const juce::MemoryBlock& body)
    {
        auto answer = LoopbackServer::Answer::withData (body);
        answer.stallAfter = bytes;
        return answer;
    }
}

TEST_F (UpdateWizardCancel, CancelWhileTheCatalogueDownloadStallsEndsTheRunAtOnce)
{
    world.addDevice (WizardWorld::reverbDevice());
    const juce::String catalogue ("<?xml version=\"1.0\"?><Config></Config>");
    world.serve ("/updater/common/config/UpdateTargets.xml", stallingAfter (10, { catalogue.toRawUTF8(), 40 }));

    driver.cancelWhen ([this] { return serverWasAskedFor ("/updater/common/config/UpdateTargets.xml"); });
    driver.click ("Next >");

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
    driver.click ("Next >");

    expectCancelled();
    EXPECT_EQ (wizard.getDevices(), nullptr);
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (UpdateWizardCancel, CancelWhileTheImageDownloadStallsLeavesTheDeviceUntouched)
{
    auto& device = world.setUpReverbScene();
    world.serve ("/images/reverb-1.5.bin", stallingAfter (100, WizardWorld::makeImage()));

    for (int step = 0; step < 4; ++step)
        driver.click ("Next >");

    driver.toggle ("Yes, I realize my settings may be lost. I want to proceed.");
    driver.cancelWhen ([this] { return serverWasAskedFor ("/images/reverb-1.5.bin"); });
    driver.click ("Next >");

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

    driver.cancelWhen ([this] { return driver.labelText() == "Download is complete"; });
    driver.click ("Next >");

    expectCancelled();
    EXPECT_EQ (wizard.countUnfinishedWorkers(), 0);
}
