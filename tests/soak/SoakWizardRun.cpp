#include "tests/soak/SoakWizardRun.h"

#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    juce::String placeImage (WizardWorld& world, const SoakScenario& scenario)
    {
        const auto missing = scenario.hostFault == SoakScenario::HostFault::imageMissing;
        const auto image = scenario.makeImageFile();

        if (scenario.imageOverHttp)
        {
            const auto url = world.serve ("/soak/image.bin", LoopbackServer::Answer::withData (image));
            return missing ? world.server.getUrl ("/soak/absent.bin") : url;
        }

        world.programFolder.getChildFile ("image.bin").replaceWithData (image.getData(), image.getSize());
        return world.programFolder.getChildFile (missing ? "absent.bin" : "image.bin").getFullPathName();
    }

    void clickThroughToTheResults (WizardWorld& world, WizardDriver& driver, const SoakScenario& scenario)
    {
        // A scenario whose device is not found, or not offered the update, ends on the
        // page where the walk stops; the caption tells the oracle which.
        if (! driver.walkToConfirmPage() || ! driver.toggle (UserTexts::confirmation))
            return;

        if (scenario.hostFault == SoakScenario::HostFault::portsRefuse)
            world.ports.setInputFailsToOpen (0, true);

        driver.click (UserTexts::next);
    }
}

bool SoakWizardRun::canRun (const SoakScenario& scenario) noexcept
{
    return scenario.hostFault != SoakScenario::HostFault::portsRefuse || scenario.inputOpeningsLeft == 0;
}

SoakWizardRun::Result SoakWizardRun::run (const SoakScenario& scenario)
{
    WizardWorld world;
    const auto& simulated = world.addDevice (scenario.device);
    const auto catalogue = CatalogueXml().addProduct (scenario.device, "Soak Effect",
                                                      { { "9.9", placeImage (world, scenario), {} } });
    world.programFolder.getChildFile ("UpdateTargets.xml").replaceWithText (catalogue.toString());

    WizardDriver driver (world.makeWizard (scenario.replyTimeouts));
    clickThroughToTheResults (world, driver, scenario);

    Result result { driver.caption(), driver.pageText(), {} };
    const auto& transcript = simulated.getTranscript();
    transcript.waitUntilHandled ((int) transcript.getMessages (SimulatedTranscript::Direction::fromHost).size(), 5000);

    for (const auto& region : scenario.device.memoryMap.regions)
        result.regionFlash.push_back (simulated.readFlash (region.start, region.length));

    return result;
}
