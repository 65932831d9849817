#include <benchmark/benchmark.h>

#include "app/AppWindow.h"
#include "app/QuillonLookAndFeel.h"
#include "sim/ports/VirtualMidiPortSystem.h"
#include "wizard/PageModalLoop.h"
#include "wizard/UpdateWizard.h"
#include "wizard/pages/ProgramDevicePage.h"

#include <chrono>
#include <ctime>
#include <sys/resource.h>

// How much of a core the program takes while nothing happens: the wizard idle on its
// welcome page, and the programming page shown while its worker waits on a device that
// does not answer. Each runs the message loop the wizard runs for a few seconds.
namespace
{
    constexpr int idleMs = 4000;

    double threadCpuSeconds()
    {
        timespec time {};
        clock_gettime (CLOCK_THREAD_CPUTIME_ID, &time);
        return (double) time.tv_sec + (double) time.tv_nsec / 1e9;
    }

    double processCpuSeconds()
    {
        rusage usage {};
        getrusage (RUSAGE_SELF, &usage);
        const auto seconds = [] (const timeval& t) { return (double) t.tv_sec + (double) t.tv_usec / 1e6; };
        return seconds (usage.ru_utime) + seconds (usage.ru_stime);
    }

    // Stands for a worker waiting on a silent device: it ends the page's modal state
    // once the time is up, and not before.
    class SilentWorker final : public juce::Thread
    {
    public:
        explicit SilentWorker (juce::Component& pageToEnd) : juce::Thread ("Silent"), page (&pageToEnd) {}
        ~SilentWorker() override { stopThread (-1); }

        void run() override
        {
            wait (idleMs);
            juce::MessageManager::callAsync ([target = page] { if (target != nullptr) target->exitModalState (1); });
        }

    private:
        juce::Component::SafePointer<juce::Component> page;
    };

    // Runs the wizard's loop on page for idleMs and reports the cores' shares used.
    void idleOn (benchmark::State& state, juce::Component& page)
    {
        for ([[maybe_unused]] auto iteration : state)
        {
            page.enterModalState (false);
            SilentWorker worker (page);
            const auto start = std::chrono::steady_clock::now();
            const auto messageThreadBefore = threadCpuSeconds();
            const auto processBefore = processCpuSeconds();
            worker.startThread();
            PageModalLoop::run (page);
            const auto elapsed = std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();

            state.counters["messageThreadShare"] = (threadCpuSeconds() - messageThreadBefore) / elapsed;
            state.counters["processShare"] = (processCpuSeconds() - processBefore) / elapsed;
        }
    }

    bool canShowPages (benchmark::State& state)
    {
        if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isNotEmpty())
            return true;

        state.SkipWithError ("no display to show the page on (run under xvfb-run)");
        return false;
    }

    void idleProgrammingPageWaitingOnASilentDevice (benchmark::State& state)
    {
        if (! canShowPages (state))
            return;

        QuillonLookAndFeel lookAndFeel;
        ProgramDevicePage page;
        page.setLookAndFeel (&lookAndFeel);
        page.addToDesktop (juce::ComponentPeer::windowAppearsOnTaskbar);
        page.setVisible (true);
        page.reportProgress (0.4);

        idleOn (state, page);

        page.removeFromDesktop();
        page.setLookAndFeel (nullptr);
    }

    // For comparison: the same loop with no window on the desktop. Every JUCE 7 window
    // on Linux runs a timer at the display's refresh rate (100 Hz where the display
    // gives none, as a virtual one does); this shows the loop's cost without it.
    void idleLoopWithoutAWindow (benchmark::State& state)
    {
        juce::Component page;
        idleOn (state, page);
    }

    // For comparison: an empty window of JUCE's own and nothing else, the least any
    // JUCE 7 program with a window costs while idle.
    void idleLoopWithAnEmptyWindow (benchmark::State& state)
    {
        if (! canShowPages (state))
            return;

        juce::Component window;
        window.setSize (400, 300);
        window.addToDesktop (juce::ComponentPeer::windowAppearsOnTaskbar);
        window.setVisible (true);

        idleOn (state, window);

        window.removeFromDesktop();
    }

    void idleWizardOnItsWelcomePage (benchmark::State& state)
    {
        if (! canShowPages (state))
            return;

        QuillonLookAndFeel lookAndFeel;
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        VirtualMidiPortSystem ports;
        AppWindow window (std::make_unique<UpdateWizard> (UpdateEnvironment { ports, {}, [] { return juce::StringArray(); }, {}, [] {} }));

        // Nothing the user sees is modal on the welcome page; an empty component stands
        // in for the page whose loop runs.
        juce::Component loopHolder;
        idleOn (state, loopHolder);

        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }
}

BENCHMARK (idleProgrammingPageWaitingOnASilentDevice)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (1);
BENCHMARK (idleWizardOnItsWelcomePage)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (1);
BENCHMARK (idleLoopWithAnEmptyWindow)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (1);
BENCHMARK (idleLoopWithoutAWindow)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (1);
