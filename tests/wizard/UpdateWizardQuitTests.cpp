#include <gtest/gtest.h>

#include "tests/device/ImageFileBuilder.h"
#include "tests/support/PollingTrigger.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

// Closing the window stops JUCE's message loop for good, so each of these runs in a
// process of its own and reports through its exit code.
namespace
{
    // Every wait of a worker wakes up within about a second of being told to exit.
    constexpr double promptQuitMs = 2500;

    /** Tells how many of its port's inputs and outputs the program holds open. */
    class PortWatcher : public VirtualMidiEndpoint
    {
    public:
        void messageFromHost (const juce::MidiMessage&) override {}

        void hostPortsChanged (int inputs, int outputs) override
        {
            openPorts = inputs + outputs;
        }

        std::atomic<int> openPorts { 0 };
    };

    struct UpdateWizardQuit : public ::testing::Test
    {
        UpdateWizardQuit()
        {
            GTEST_FLAG_SET (death_test_style, "threadsafe");
        }

        /** Closes the window as soon as condition holds, while the step started by Next
            runs, and exits with 0 only when the step gave up promptly and cleanly.
        */
        [[noreturn]] void quitDuringNextStep (std::function<bool()> condition, std::function<bool()> cleanAfterwards)
        {
            double quitTime = 0;
            const PollingTrigger quitter (std::move (condition), [&quitTime]
            {
                quitTime = juce::Time::getMillisecondCounterHiRes();
                juce::JUCEApplicationBase::quit();
            });
            driver.click (UserTexts::next);

            const auto elapsedMs = juce::Time::getMillisecondCounterHiRes() - quitTime;
            const bool prompt = quitTime > 0 && elapsedMs < promptQuitMs;
            const bool clean = cleanAfterwards();

            std::fprintf (stderr, "quit after %.0f ms, prompt %d, clean %d\n", elapsedMs, prompt, clean);
            std::_Exit (prompt && clean ? 0 : 1);
        }

        WizardWorld world;
        WizardDriver driver { world.makeWizard() };
    };
}

TEST_F (UpdateWizardQuit, ClosingDuringTheCatalogueDownloadStopsItPromptly)
{
    EXPECT_EXIT (
    {
        world.serve ("/updater/common/config/UpdateTargets.xml", WizardWorld::stallingAfter (juce::MemoryBlock (100), 10));
        quitDuringNextStep ([this] { return world.serverWasAskedFor ("/updater/common/config/UpdateTargets.xml"); },
                            [] { return true; });
    }, ::testing::ExitedWithCode (0), "");
}

TEST_F (UpdateWizardQuit, ClosingDuringTheScanStopsItBetweenProbesWithThePortsClosed)
{
    EXPECT_EXIT (
    {
        auto slow = WizardWorld::reverbDevice();
        slow.replyLatencyMs = 400;
        world.addDevice (slow);
        PortWatcher watcher;
        auto connection = world.ports.attach (slow.portName, watcher);
        world.serveCatalogue (CatalogueXml().addProduct (slow, "Test Reverb", { { "1.5", "http://127.0.0.1:9/x", {} } })
                                            .toString());

        quitDuringNextStep ([&watcher] { return watcher.openPorts > 0; },
                            [&watcher] { return watcher.openPorts == 0; });
    }, ::testing::ExitedWithCode (0), "");
}

TEST_F (UpdateWizardQuit, ClosingDuringTheImageDownloadStopsItPromptly)
{
    EXPECT_EXIT (
    {
        auto& device = world.setUpReverbScene();
        world.serve ("/images/reverb-1.5.bin", WizardWorld::stallingAfter (WizardWorld::makeImage(), 10));
        ASSERT_TRUE (driver.walkToConfirmPage());
        ASSERT_TRUE (driver.toggle (UserTexts::confirmation));

        quitDuringNextStep ([this] { return world.serverWasAskedFor ("/images/reverb-1.5.bin"); },
                            [&device] { return ! device.isInUpdateMode(); });
    }, ::testing::ExitedWithCode (0), "");
}

TEST_F (UpdateWizardQuit, ClosingWhileProgrammingStopsAfterTheCurrentBlockWithThePortsClosed)
{
    EXPECT_EXIT (
    {
        auto slow = WizardWorld::reverbDevice();
        slow.replyLatencyMs = 20;
        slow.memoryMap = SimulatedMemoryMap::covering (256, { { 0, 0x10000 } });
        auto& device = world.addDevice (slow);
        PortWatcher watcher;
        auto connection = world.ports.attach (slow.portName, watcher);
        const auto image = world.serve ("/images/big.bin", LoopbackServer::Answer::withData (
                                            ImageFileBuilder().addRecord (0, 0x10000).getFile()));
        world.serveCatalogue (CatalogueXml().addProduct (slow, "Test Reverb", { { "1.5", image, {} } }).toString());
        ASSERT_TRUE (driver.walkToConfirmPage());
        ASSERT_TRUE (driver.toggle (UserTexts::confirmation));

        const auto blocksWritten = [&device]
        {
            int writes = 0;

            for (const auto& message : device.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost))
                writes += message.size() > 7 && message[5] == 0x7a ? 1 : 0;

            return writes;
        };

        quitDuringNextStep ([&] { return blocksWritten() >= 3; },
                            [&]
                            {
                                const auto writesAtQuit = blocksWritten();
                                juce::Thread::sleep (100);
                                return watcher.openPorts == 0 && blocksWritten() == writesAtQuit && writesAtQuit < 0x100;
                            });
    }, ::testing::ExitedWithCode (0), "");
}
