#include <gtest/gtest.h>

#include "tests/wizard/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

// What a forged catalogue can make the wizard do with the image address it names.
namespace
{
    /** A TCP port that accepts nothing but tells whether anyone connected to it,
        standing in for a service that a download must never reach.
    */
    struct ServiceThatMustNotBeReached
    {
        ServiceThatMustNotBeReached() { EXPECT_TRUE (socket.createListener (0, "127.0.0.1")); }

        juce::String address (const juce::String& scheme) const
        {
            return scheme + "://127.0.0.1:" + juce::String (socket.getBoundPort()) + "/_SET%20owned%201%0D%0AQUIT%0D%0A";
        }

        bool wasReached() { return socket.waitUntilReady (true, 0) == 1; }

        juce::StreamingSocket socket;
    };

    enum class CatalogueFrom { server, fileBesideTheProgram };

    /** One whole run of the wizard to the newest revision, whose image the catalogue
        names as imageUrl; returns the results page's caption and body, and whether the
        device was touched.
    */
    juce::String updateWithImageAt (const juce::String& imageUrl, CatalogueFrom source)
    {
        WizardWorld world;
        auto& device = world.addDevice (WizardWorld::reverbDevice());
        WizardDriver driver (world.makeWizard());
        const auto catalogue = CatalogueXml().addProduct (device.getConfig(), "Test Reverb", { { "1.5", imageUrl, {} } }).toString();

        if (source == CatalogueFrom::server)
            world.serveCatalogue (catalogue);
        else
            EXPECT_TRUE (world.programFolder.getChildFile ("UpdateTargets.xml").replaceWithText (catalogue));

        driver.updateToTheNewestVersion();
        return driver.caption() + " | " + driver.pageText() + (device.isInUpdateMode() ? " | device touched" : "");
    }

    const juce::String refused ("Update Failed | Only http and https addresses may be downloaded from here, not: ");
}

TEST (HostileCatalogue, AnImageAddressOtherThanHttpOrHttpsFailsTheUpdateWithoutConnectingOrTouchingTheDevice)
{
    ServiceThatMustNotBeReached service;
    const juce::TemporaryFile image (".bin");
    const auto data = WizardWorld::makeImage();
    ASSERT_TRUE (image.getFile().replaceWithData (data.getData(), data.getSize()));
    const auto path = image.getFile().getFullPathName();

    struct Case { juce::String imageUrl; CatalogueFrom source; juce::String outcome; };

    const Case cases[] = {
        { service.address ("gopher"), CatalogueFrom::server, refused + service.address ("gopher") },
        { service.address ("dict"), CatalogueFrom::server, refused + service.address ("dict") },
        { service.address ("ftp"), CatalogueFrom::fileBesideTheProgram, refused + service.address ("ftp") },
        { path, CatalogueFrom::server, refused + path },
        { "file://" + path, CatalogueFrom::server, refused + "file://" + path },
        { "file://" + path, CatalogueFrom::fileBesideTheProgram, refused + "file://" + path },
        { path, CatalogueFrom::fileBesideTheProgram, "Update Succeeded | Your device is now ready to use | device touched" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (updateWithImageAt (c.imageUrl, c.source), c.outcome);

    EXPECT_FALSE (service.wasReached());
}
