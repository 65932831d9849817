#include <gtest/gtest.h>

#include "tests/device/ShortReplyTimeouts.h"
#include "tests/support/ComponentFinder.h"
#include "tests/support/MessageLoop.h"
#include "tests/support/PollingTrigger.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

namespace
{
    // Points of the 400 x 272 window: the header, the page's status line, a bare part
    // of the page, and the frame's Next (or Done) button.
    const juce::Point<int> header { 200, 20 }, statusLine { 60, 132 }, bareArea { 390, 225 }, defaultButton { 330, 255 };

    // The cursor the mouse shows over point, found as JUCE finds it when the mouse moves.
    std::string cursorAt (juce::Component& window, juce::Point<int> point)
    {
        auto* component = window.getComponentAt (point);

        if (component == nullptr)
            return "(outside)";

        const auto cursor = component->getLookAndFeel().getMouseCursorFor (*component);
        return cursor == juce::MouseCursor::WaitCursor ? "wait" : cursor == juce::MouseCursor::NormalCursor ? "normal" : "other";
    }

}

TEST (WaitCursor, ShowsOverTheWindowExactlyWhileAStepMakesTheUserWait)
{
    WizardWorld world;
    auto slowDevice = WizardWorld::reverbDevice();
    slowDevice.replyLatencyMs = 40;

    const struct
    {
        const char* step;
        const char* stalledPath;  // served so that it stalls, and the step is cancelled; or none
        const char* waitingCaption;
        bool offersCancel;
        bool startsWithTheUpdate;
        const char* endCaption;
    } steps[] = {
        { "catalogue download, cancelled", "/updater/common/config/UpdateTargets.xml", "Downloading Update Information...", true,  false, UserTexts::updateCancelled },
        { "device scan",                   nullptr,                                    "Scanning...",                       true,  false, UserTexts::foundDevices },
        { "image download, cancelled",     "/images/reverb-1.5.bin",                   "Downloading File...",               true,  true,  UserTexts::updateCancelled },
        { "programming",                   nullptr,                                    "Updating...",                       false, true,  UserTexts::updateSucceeded },
    };

    world.setUpReverbScene (slowDevice);
    const auto catalogue = world.servedCatalogue;

    for (const auto& step : steps)
    {
        SCOPED_TRACE (step.step);
        auto& wizard = world.makeWizard (devicetest::shortReplyTimeouts());
        wizard.setVisible (true);
        WizardDriver driver { wizard };
        world.serveCatalogue (catalogue);
        world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withData (WizardWorld::makeImage()));

        if (step.stalledPath != nullptr)
        {
            const auto body = juce::String (step.stalledPath).endsWith (".xml") ? juce::MemoryBlock (catalogue.toRawUTF8(), catalogue.getNumBytesAsUTF8())
                                                                               : WizardWorld::makeImage();
            world.serve (step.stalledPath, WizardWorld::stallingAfter (body, 10));
        }

        std::map<std::string, std::string> whileWaiting;
        PollingTrigger look ([&] { return driver.caption() == step.waitingCaption
                                          && (step.stalledPath == nullptr || world.serverWasAskedFor (step.stalledPath)); }, [&]
        {
            for (const auto& [name, point] : { std::pair ("header", header), std::pair ("status line", statusLine),
                                               std::pair ("bare area", bareArea), std::pair ("default button", defaultButton) })
                whileWaiting[name] = cursorAt (wizard, point);

            if (auto* cancel = ComponentFinder::findButton (*wizard.currentPage(), UserTexts::cancel))
            {
                whileWaiting["Cancel"] = cursorAt (*cancel, cancel->getLocalBounds().getCentre());

                if (step.stalledPath != nullptr)
                    cancel->triggerClick();
            }
        });

        if (step.startsWithTheUpdate)
            ASSERT_TRUE (driver.updateToTheNewestVersion());
        else
            driver.click (UserTexts::next);

        ASSERT_EQ (driver.caption(), step.endCaption);

        std::map<std::string, std::string> expected { { "header", "wait" }, { "status line", "wait" },
                                                      { "bare area", "wait" }, { "default button", "wait" } };

        if (step.offersCancel)
            expected["Cancel"] = "normal";

        EXPECT_EQ (whileWaiting, expected) << "Cancel still answers the mouse, so it keeps the arrow";

        for (const auto& point : { header, bareArea, defaultButton })
            EXPECT_EQ (cursorAt (wizard, point), "normal") << "once the step has ended, over " << point.toString();
    }
}
