#include <gtest/gtest.h>

#include "tests/device/ImageFileBuilder.h"
#include "tests/wizard/WizardDriver.h"
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
            QuitWhen quitter (std::move (condition), quitTime);
            driver.click ("Next >");

            const auto elapsedMs = juce::Time::getMillisecondCounterHiRes() - quitTime;
            const bool prompt = quitTime > 0 && elapsedMs < promptQuitMs;
            const bool clean = cleanAfterwards();

            std::fprintf (stderr, "quit after %.0f ms, prompt %d, clean %d\n", elapsedMs, prompt, clean);
            std::_Exit (prompt && clean ? 0 : 1);
        }

        struct QuitWhen : public juce::Timer
        {
            QuitWhen (std::function<bool()> conditionToWaitFor, double& quitTimeToSet)
                : condition (std::move (conditionToWaitFor)), quitTime (quitTimeToSet)
            {
                startTimer (5);
            }

            void timerCallback() override
            {
                if (! condition())
                    return;

                stopTimer();
                quitTime = juce::Time::getMillisecondCounterHiRes();
                juce::JUCEApplicationBase::quit();
            }

            std::function<bool()> condition;
            double& quitTime;
        };

        bool serverWasAskedFor (const juce::String& path) const
        {
            for (const auto& request : world.server.getRequests())
                if (request.target.startsWith (path))
                    return true;

            return false;
        }

        void walkToConfirmation()
        {
            for (int step = 0; step < 4; ++step)
                driver.click ("Next >");

            driver.toggle ("Yes, I realize my settings may be lost. I want to proceed.");
        }

        WizardWorld world;
        WizardDriver driver { world.makeWizard() };
    };

    LoopbackServer::Answer stalling (const juce::MemoryBlock& body)
    {
        auto answer = LoopbackServer::Answer::withData (body);
        answer.stallAfter = 10;
        return answer;
    }
}

TEST_F (UpdateWizardQuit, ClosingDuringTheCatalogueDownloadStopsItPromptly)
{
    EXPECT_EXIT (
    {
        world.serve ("/updater/common/config/UpdateTargets.xml", stalling (juce::MemoryBlock (100)));
        quitDuringNextStep ([this] { return serverWasAskedFor ("/updater/common/config/UpdateTargets.xml"); },
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
        world.serve ("/images/reverb-1.5.bin", stalling (WizardWorld::makeImage()));
        walkToConfirmation();

        quitDuringNextStep ([this] { return serverWasAskedFor ("/images/reverb-1.5.bin"); },
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
        walkToConfirmation();

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
