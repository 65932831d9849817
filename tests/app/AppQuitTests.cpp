#include <gtest/gtest.h>

#include "app/AppWindow.h"
#include "catalogue/TargetsSources.h"
#include "platform/QuitSignals.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/support/PollingTrigger.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

#include <csignal>
#include <thread>

// Closing the window in the middle of a task must end the application's own message
// loop, not only the task: the task's modal loop ends inside one of the outer loop's
// passes, and JUCE 7.0.5's Linux loop can go back to sleep after such a pass. The real
// loop runs in a process of its own, which reports through its exit code.
namespace
{
    constexpr int loopMustEndWithinMs = 10000;

    [[noreturn]] void exitUnlessTheLoopEnds()
    {
        std::thread ([]
        {
            std::this_thread::sleep_for (std::chrono::milliseconds (loopMustEndWithinMs));
            std::fprintf (stderr, "the message loop was still running\n");
            std::_Exit (1);
        }).detach();

        juce::MessageManager::getInstance()->runDispatchLoop();
        std::_Exit (0);
    }
}

// The close button, or the session asking the program to end (logout, kill, a closed
// terminal) as the application wires it: as the close button.
struct QuitRequest
{
    const char* name;
    int signal;     // 0: the close button itself
};

void PrintTo (const QuitRequest& request, std::ostream* os)
{
    *os << request.name;
}

class ApplicationQuit : public ::testing::TestWithParam<QuitRequest> {};

TEST_P (ApplicationQuit, WhileProgrammingEndsTheMessageLoop)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    const auto signal = GetParam().signal;

    EXPECT_EXIT (
    {
        WizardWorld world;
        auto slow = WizardWorld::reverbDevice();
        slow.replyLatencyMs = 20;
        slow.memoryMap = SimulatedMemoryMap::covering (256, { { 0, 0x10000 } });
        auto& device = world.addDevice (slow);
        const auto image = world.serve ("/images/big.bin", LoopbackServer::Answer::withData (
                                            ImageFileBuilder().addRecord (0, 0x10000).getFile()));
        world.serveCatalogue (CatalogueXml().addProduct (slow, "Test Reverb", { { "1.5", image, {} } }).toString());

        const auto host = "127.0.0.1:" + juce::String (world.server.getPort());
        auto wizard = std::make_unique<UpdateWizard> (UpdateEnvironment {
            world.ports,
            ReplyTimeouts {},
            [&world, host] { return TargetsSources::build (world.programFolder, host, juce::Time::getCurrentTime()); },
            {},
            [] { juce::JUCEApplicationBase::quit(); } });
        WizardDriver driver (*wizard);
        AppWindow window (std::move (wizard));

        const auto programming = [&device]
        {
            return device.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost).size() > 20;
        };
        const QuitSignals quitSignals ([&window] { window.closeButtonPressed(); });
        const PollingTrigger closer (programming, [&window, signal]
        {
            if (signal == 0)
                window.closeButtonPressed();
            else
                std::raise (signal);
        });
        juce::Timer::callAfterDelay (1000, [&driver] { EXPECT_TRUE (driver.updateToTheNewestVersion()); });
        exitUnlessTheLoopEnds();
    }, ::testing::ExitedWithCode (0), "");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Asked, ApplicationQuit, ::testing::Values (
    QuitRequest { "ByTheCloseButton", 0 },
    QuitRequest { "BySigterm",        SIGTERM },
    QuitRequest { "BySighup",         SIGHUP }),
    [] (const auto& info) { return std::string (info.param.name); });
// clang-format on
