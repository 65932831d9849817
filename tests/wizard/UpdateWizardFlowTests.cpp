#include <gtest/gtest.h>

#include "device/CommTargetException.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/wizard/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    struct UpdateWizardFlow : public ::testing::Test
    {
        void goToConfirmPage()
        {
            driver.click ("Next >");
            ASSERT_EQ (driver.caption(), "Found Devices");
            driver.click ("Next >");
            ASSERT_EQ (driver.caption(), "Version Filtering");
            driver.click ("Next >");
            ASSERT_EQ (driver.caption(), "Updates are Available");
            driver.click ("Next >");
            ASSERT_EQ (driver.caption(), "Confirm");
        }

        void confirmAndUpdate()
        {
            driver.toggle (confirmText);
            driver.click ("Next >");
        }

        void expectResultsPageOffersStartOver (bool offered)
        {
            EXPECT_TRUE (driver.isVisible ("Done"));
            EXPECT_TRUE (driver.isEnabled ("Done"));
            EXPECT_FALSE (driver.isVisible ("Next >"));
            EXPECT_FALSE (driver.isEnabled ("< Back"));
            EXPECT_EQ (driver.isVisible ("<< Start Over"), offered);
        }

        static bool flashHolds (const SimulatedDevice& device, juce::uint32 address, const ImageFileBuilder::Bytes& bytes)
        {
            return device.readFlash (address, (juce::uint32) bytes.size()) == bytes;
        }

        static inline const juce::String confirmText { "Yes, I realize my settings may be lost. I want to proceed." };

        WizardWorld world;
        UpdateWizard& wizard = world.makeWizard();
        WizardDriver driver { wizard };
    };
}

TEST_F (UpdateWizardFlow, FullUpdateWritesTheImageAndEndsWithOnlyDone)
{
    auto& device = world.setUpReverbScene();
    EXPECT_EQ (driver.caption(), "Welcome");
    EXPECT_FALSE (driver.isEnabled ("< Back"));

    goToConfirmPage();
    EXPECT_EQ (driver.pageText(), "Are you sure you want to update the device: Test Reverb \"Studio A\" (at version 1.0)"
                                  " to firmware version 1.5?");
    EXPECT_FALSE (driver.isEnabled ("Next >")) << "not before the acknowledgement is ticked";

    confirmAndUpdate();

    EXPECT_EQ (driver.caption(), "Update Succeeded");
    EXPECT_EQ (driver.description(), "The update completed successfully");
    EXPECT_EQ (driver.pageText(), "Your device is now ready to use");
    expectResultsPageOffersStartOver (false);

    EXPECT_TRUE (flashHolds (device, 0x0000, ImageFileBuilder::patternBytes (0x0000, 0x800)));
    EXPECT_TRUE (flashHolds (device, 0x1000, ImageFileBuilder::Bytes (0x200, 0xff)));
    EXPECT_TRUE (flashHolds (device, 0x1200, ImageFileBuilder::patternBytes (0x1200, 0x100)));
}

TEST_F (UpdateWizardFlow, InstructionsComeBeforeTheDownloadAndPostInstructionsAfterIt)
{
    world.setUpReverbScene (WizardWorld::reverbDevice(), "Switch it off and on again.", "Hold TAP while you switch it on.");
    goToConfirmPage();
    confirmAndUpdate();

    EXPECT_EQ (driver.caption(), "Prepare to Update");
    EXPECT_EQ (driver.pageText(), "Hold TAP while you switch it on.");

    driver.click ("Next >");

    EXPECT_EQ (driver.caption(), "Update Succeeded");
    EXPECT_EQ (driver.pageText(), "Switch it off and on again.");
}

TEST_F (UpdateWizardFlow, DeviceThatRejectsABlockFailsTheUpdateWithTheDevicesReason)
{
    auto config = WizardWorld::reverbDevice();
    config.faults.push_back ({ SimulatedFault::Kind::errorReply, 0x7a, 2, 1, 5 });
    world.setUpReverbScene (config);

    goToConfirmPage();
    confirmAndUpdate();

    EXPECT_EQ (driver.caption(), "Update Failed");
    EXPECT_EQ (driver.description(), "A failure occurred while updating the device's firmware");
    EXPECT_EQ (driver.pageText(), juce::String (CommTargetException (0x7a, 5).what()));
    expectResultsPageOffersStartOver (true);
}

TEST_F (UpdateWizardFlow, SilentDeviceFailsTheUpdateWithNoResponse)
{
    auto config = WizardWorld::reverbDevice();
    config.faults.push_back ({ SimulatedFault::Kind::noReply, 0x78, 1, 1, 0 });
    world.setUpReverbScene (config);

    goToConfirmPage();
    confirmAndUpdate();

    EXPECT_EQ (driver.caption(), "Update Failed");
    EXPECT_EQ (driver.pageText(), "No reponse was received from the device");
}

TEST_F (UpdateWizardFlow, ImageCutShortFailsTheUpdateWithTheFilesReason)
{
    world.setUpReverbScene();
    auto image = WizardWorld::makeImage();
    image.setSize (image.getSize() - 10);
    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withData (image));

    goToConfirmPage();
    confirmAndUpdate();

    EXPECT_EQ (driver.caption(), "Update Failed");
    EXPECT_EQ (driver.pageText(), "Unexpected end of file encoutered");
}

TEST_F (UpdateWizardFlow, NoMatchingPortEndsWithNoDevicesFound)
{
    auto config = WizardWorld::reverbDevice();
    config.portName = "Nothing Plugged Here";
    world.serveCatalogue (CatalogueXml().addProduct (config, "Absent Reverb", { { "1.5", "http://127.0.0.1:9/x.bin", {} } }).toString());
    world.addDevice (WizardWorld::reverbDevice());

    driver.click ("Next >");

    EXPECT_EQ (driver.caption(), "No Devices Were Found");
    EXPECT_EQ (driver.description(), "No supported devices were detected");
    EXPECT_EQ (driver.pageText(), "Please verify that a compatible device is:\n\t-Connected to your computer\n"
                                  "\t-Powered on\n\t-Not being used by another application");
    expectResultsPageOffersStartOver (true);
}

TEST_F (UpdateWizardFlow, DeviceAtTheNewestVersionEndsWithNoUpdatesWhenOnlyNewerOnesAreWanted)
{
    auto config = WizardWorld::reverbDevice();
    config.versionB1 = 0x50;
    world.addDevice (config);
    world.serveCatalogue (CatalogueXml().addProduct (config, "Test Reverb", { { "1.5", "http://127.0.0.1:9/x.bin", {} } }).toString());

    driver.click ("Next >");
    driver.click ("Next >");
    driver.click ("Next >");

    EXPECT_EQ (driver.caption(), "No Updates Were Found");
    EXPECT_EQ (driver.description(), "Your device's firmware is already up to date");
    EXPECT_EQ (driver.pageText(), "There are no updates available for your device at this time. "
                                  "Please check back periodically.");
    expectResultsPageOffersStartOver (true);
}

TEST_F (UpdateWizardFlow, AllVersionsOfAProductWithoutRevisionsGiveAnEmptyListAndNoNext)
{
    auto config = WizardWorld::reverbDevice();
    world.addDevice (config);
    world.serveCatalogue (CatalogueXml().addProduct (config, "Test Reverb", {}).toString());

    driver.click ("Next >");
    driver.click ("Next >");
    driver.toggle ("Show all available versions");
    driver.click ("Next >");

    EXPECT_EQ (driver.caption(), "Updates are Available");
    EXPECT_TRUE (driver.listedItems().isEmpty());
    EXPECT_FALSE (driver.isEnabled ("Next >"));
}

TEST_F (UpdateWizardFlow, MissingCatalogueEndsWithUnableToConnect)
{
    driver.click ("Next >");

    EXPECT_EQ (driver.caption(), "Unable to Connect");
    EXPECT_EQ (driver.description(), "A server connection could not be established");
    EXPECT_EQ (driver.pageText(), "A connection to the remote server could not be established. The server may be "
                                  "temporarily unavailable or you may need to manually connect to the internet first.");
}

TEST_F (UpdateWizardFlow, BrokenCatalogueEndsWithInvalidTargetsFileAndItsReason)
{
    world.serveCatalogue ("<Config><Brand Name=\"Calvio\"><Famly/></Brand></Config>");

    driver.click ("Next >");

    EXPECT_EQ (driver.caption(), "Invalid Targets File");
    EXPECT_EQ (driver.description(), "The downloaded targets file is corrupt or invalid");
    EXPECT_EQ (driver.pageText(), "Invalid element encountered. Expecting Family");
}

TEST_F (UpdateWizardFlow, DownloadThatIsNoFirmwareImageEndsWithUnableToConnect)
{
    auto& device = world.setUpReverbScene();
    world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withText ("not an image", 200, "text/plain"));

    goToConfirmPage();
    confirmAndUpdate();

    EXPECT_EQ (driver.caption(), "Unable to Connect");
    EXPECT_FALSE (device.isInUpdateMode()) << "nothing was sent to the device";
}

TEST_F (UpdateWizardFlow, CatalogueBesideTheProgramIsUsedWithoutAskingTheServer)
{
    auto& device = world.addDevice (WizardWorld::reverbDevice());
    const auto catalogue = CatalogueXml().addProduct (device.getConfig(), "Local Reverb",
                                                      { { "1.5", "http://127.0.0.1:9/x.bin", {} } });
    ASSERT_TRUE (world.programFolder.getChildFile ("UpdateTargets.xml").replaceWithText (catalogue.toString()));

    driver.click ("Next >");

    EXPECT_EQ (driver.caption(), "Found Devices");
    EXPECT_EQ (driver.listedItems(), juce::StringArray ("Local Reverb \"Studio A\" (at version 1.0)"));
    EXPECT_TRUE (world.server.getRequests().empty());
}

TEST_F (UpdateWizardFlow, PortsThatNoLongerOpenFailTheUpdateInsteadOfLeavingThePageStuck)
{
    world.setUpReverbScene();
    goToConfirmPage();
    world.ports.setOutputFailsToOpen (0, true);

    confirmAndUpdate();

    EXPECT_EQ (driver.caption(), "Update Failed");
    EXPECT_EQ (driver.pageText(), "An unspecified communication error has occured");
    EXPECT_TRUE (driver.isEnabled ("Done"));
}
