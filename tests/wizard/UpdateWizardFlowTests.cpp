#include <gtest/gtest.h>

#include "device/CommTargetException.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    struct UpdateWizardFlow : public ::testing::Test
    {
        void expectResultsPageOffersStartOver (bool offered)
        {
            EXPECT_TRUE (driver.isVisible (UserTexts::done));
            EXPECT_TRUE (driver.isEnabled (UserTexts::done));
            EXPECT_FALSE (driver.isVisible (UserTexts::next));
            EXPECT_FALSE (driver.isEnabled (UserTexts::back));
            EXPECT_EQ (driver.isVisible (UserTexts::startOver), offered);
        }

        static bool flashHolds (const SimulatedDevice& device, juce::uint32 address, const ImageFileBuilder::Bytes& bytes)
        {
            return device.readFlash (address, (juce::uint32) bytes.size()) == bytes;
        }

        WizardWorld world;
        UpdateWizard& wizard = world.makeWizard (devicetest::shortReplyTimeouts());
        WizardDriver driver { wizard };
    };
}

TEST_F (UpdateWizardFlow, FullUpdateWritesTheImageAndEndsWithOnlyDone)
{
    auto& device = world.setUpReverbScene();
    EXPECT_EQ (driver.caption(), UserTexts::welcome);
    EXPECT_FALSE (driver.isEnabled (UserTexts::back));

    ASSERT_TRUE (driver.walkToConfirmPage());
    EXPECT_EQ (driver.pageText(), "Are you sure you want to update the device: Test Reverb \"Studio A\" (at version 1.0)"
                                  " to firmware version 1.5?");
    EXPECT_FALSE (driver.isEnabled (UserTexts::next)) << "not before the acknowledgement is ticked";

    ASSERT_TRUE (driver.confirmAndUpdate());

    EXPECT_EQ (driver.caption(), UserTexts::updateSucceeded);
    EXPECT_EQ (driver.description(), "The update completed successfully");
    EXPECT_EQ (driver.pageText(), UserTexts::readyToUse);
    expectResultsPageOffersStartOver (false);

    EXPECT_TRUE (flashHolds (device, 0x0000, ImageFileBuilder::patternBytes (0x0000, 0x800)));
    EXPECT_TRUE (flashHolds (device, 0x1000, ImageFileBuilder::Bytes (0x200, 0xff)));
    EXPECT_TRUE (flashHolds (device, 0x1200, ImageFileBuilder::patternBytes (0x1200, 0x100)));
}

TEST_F (UpdateWizardFlow, InstructionsComeBeforeTheDownloadAndPostInstructionsAfterIt)
{
    world.setUpReverbScene (WizardWorld::reverbDevice(), "Switch it off and on again.", "Hold TAP while you switch it on.");
    ASSERT_TRUE (driver.walkToConfirmPage());
    ASSERT_TRUE (driver.confirmAndUpdate());

    EXPECT_EQ (driver.caption(), UserTexts::prepareToUpdate);
    EXPECT_EQ (driver.pageText(), "Hold TAP while you switch it on.");

    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::updateSucceeded);
    EXPECT_EQ (driver.pageText(), "Switch it off and on again.");
}

TEST_F (UpdateWizardFlow, DeviceThatRejectsABlockFailsTheUpdateWithTheDevicesReason)
{
    auto config = WizardWorld::reverbDevice();
    config.faults.push_back ({ SimulatedFault::Kind::errorReply, 0x7a, 2, 1, 5 });
    world.setUpReverbScene (config);

    ASSERT_TRUE (driver.walkToConfirmPage());
    ASSERT_TRUE (driver.confirmAndUpdate());

    EXPECT_EQ (driver.caption(), UserTexts::updateFailed);
    EXPECT_EQ (driver.description(), UserTexts::updateFailedDescription);
    EXPECT_EQ (driver.pageText(), juce::String (CommTargetException (0x7a, 5).what()));
    expectResultsPageOffersStartOver (true);
}

TEST_F (UpdateWizardFlow, SilentDeviceFailsTheUpdateWithNoResponse)
{
    auto config = WizardWorld::reverbDevice();
    config.faults.push_back ({ SimulatedFault::Kind::noReply, 0x78, 1, 1, 0 });
    world.setUpReverbScene (config);

    ASSERT_TRUE (driver.walkToConfirmPage());
    ASSERT_TRUE (driver.confirmAndUpdate());

    EXPECT_EQ (driver.caption(), UserTexts::updateFailed);
    EXPECT_EQ (driver.pageText(), UserTexts::noResponse);
}

TEST_F (UpdateWizardFlow, ImageCutShortFailsTheUpdateWithTheFilesReason)
{
    auto& device = world.setUpReverbScene();
    auto image = WizardWorld::makeImage();
    image.setSize (image.getSize() - 10);
    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withData (image));

    ASSERT_TRUE (driver.walkToConfirmPage());
    ASSERT_TRUE (driver.confirmAndUpdate());

    EXPECT_EQ (driver.caption(), UserTexts::updateFailed);
    EXPECT_EQ (driver.pageText(), UserTexts::endOfFile);
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (UpdateWizardFlow, NoMatchingPortEndsWithNoDevicesFound)
{
    auto config = WizardWorld::reverbDevice();
    config.portName = "Nothing Plugged Here";
    world.serveCatalogue (CatalogueXml().addProduct (config, "Absent Reverb", { { "1.5", "http://127.0.0.1:9/x.bin", {} } }).toString());
    world.addDevice (WizardWorld::reverbDevice());

    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::noDevicesFound);
    EXPECT_EQ (driver.description(), UserTexts::noDevicesDescription);
    EXPECT_EQ (driver.pageText(), UserTexts::noDevicesBody);
    expectResultsPageOffersStartOver (true);
}

TEST_F (UpdateWizardFlow, DeviceAtTheNewestVersionEndsWithNoUpdatesWhenOnlyNewerOnesAreWanted)
{
    auto config = WizardWorld::reverbDevice();
    config.versionB1 = 0x50;
    world.addDevice (config);
    world.serveCatalogue (CatalogueXml().addProduct (config, "Test Reverb", { { "1.5", "http://127.0.0.1:9/x.bin", {} } }).toString());

    driver.click (UserTexts::next);
    driver.click (UserTexts::next);
    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::noUpdatesFound);
    EXPECT_EQ (driver.description(), UserTexts::noUpdatesDescription);
    EXPECT_EQ (driver.pageText(), UserTexts::noUpdatesBody);
    expectResultsPageOffersStartOver (true);
}

TEST_F (UpdateWizardFlow, AllVersionsOfAProductWithoutRevisionsGiveAnEmptyListAndNoNext)
{
    auto config = WizardWorld::reverbDevice();
    world.addDevice (config);
    world.serveCatalogue (CatalogueXml().addProduct (config, "Test Reverb", {}).toString());

    driver.click (UserTexts::next);
    driver.click (UserTexts::next);
    ASSERT_TRUE (driver.toggle (UserTexts::allVersions));
    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::updatesAvailable);
    EXPECT_TRUE (driver.listedItems().isEmpty());
    EXPECT_FALSE (driver.isEnabled (UserTexts::next));
}

TEST_F (UpdateWizardFlow, MissingCatalogueEndsWithUnableToConnect)
{
    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::unableToConnect);
    EXPECT_EQ (driver.description(), UserTexts::unableToConnectDescription);
    EXPECT_EQ (driver.pageText(), UserTexts::unableToConnectBody);
}

TEST_F (UpdateWizardFlow, BrokenCatalogueEndsWithInvalidTargetsFileAndItsReason)
{
    world.serveCatalogue ("<Config><Brand Name=\"Calvio\"><Famly/></Brand></Config>");

    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::invalidTargetsFile);
    EXPECT_EQ (driver.description(), UserTexts::invalidTargetsFileDescription);
    EXPECT_EQ (driver.pageText(), "Invalid element encountered. Expecting Family");
}

TEST_F (UpdateWizardFlow, DownloadThatIsNoFirmwareImageEndsWithUnableToConnect)
{
    auto& device = world.setUpReverbScene();
    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withText ("not an image", 200, "text/plain"));

    ASSERT_TRUE (driver.walkToConfirmPage());
    ASSERT_TRUE (driver.confirmAndUpdate());

    EXPECT_EQ (driver.caption(), UserTexts::unableToConnect);
    EXPECT_FALSE (device.isInUpdateMode()) << "nothing was sent to the device";
}

TEST_F (UpdateWizardFlow, CatalogueBesideTheProgramIsUsedWithoutAskingTheServer)
{
    auto& device = world.addDevice (WizardWorld::reverbDevice());
    const auto catalogue = CatalogueXml().addProduct (device.getConfig(), "Local Reverb",
                                                      { { "1.5", "http://127.0.0.1:9/x.bin", {} } });
    ASSERT_TRUE (world.programFolder.getChildFile ("UpdateTargets.xml").replaceWithText (catalogue.toString()));

    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::foundDevices);
    EXPECT_EQ (driver.listedItems(), juce::StringArray ("Local Reverb \"Studio A\" (at version 1.0)"));
    EXPECT_TRUE (world.server.getRequests().empty());
}

TEST_F (UpdateWizardFlow, PortsThatNoLongerOpenFailTheUpdateInsteadOfLeavingThePageStuck)
{
    world.setUpReverbScene();
    ASSERT_TRUE (driver.walkToConfirmPage());
    world.ports.setOutputFailsToOpen (0, true);

    ASSERT_TRUE (driver.confirmAndUpdate());

    EXPECT_EQ (driver.caption(), UserTexts::updateFailed);
    EXPECT_EQ (driver.pageText(), "An unspecified communication error has occured");
    EXPECT_TRUE (driver.isEnabled (UserTexts::done));
}
