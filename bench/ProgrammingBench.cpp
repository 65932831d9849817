#include <benchmark/benchmark.h>

#include "bench/ProgrammingOnPage.h"
#include "bench/ProgrammingRig.h"

#include <chrono>

namespace
{
    using Clock = std::chrono::steady_clock;

    constexpr juce::uint32 oneMebibyte = 1 << 20;

    // A DIN link makes the whole exchange take its bytes' wire time: a small image keeps
    // that to a few seconds.
    constexpr juce::uint32 fourKibibytes = 4096;

    enum PageForm
    {
        pageHidden = 0,   // made and modal, never drawn
        pageShown = 1     // a window on the desktop, drawn as it changes
    };

    bool canShowPages()
    {
        return juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isNotEmpty();
    }

    double secondsSince (Clock::time_point start)
    {
        return std::chrono::duration<double> (Clock::now() - start).count();
    }

    benchmark::Counter perBlock (const ProgrammingRig& rig)
    {
        return benchmark::Counter ((double) rig.getNumBlocks(),
                                   benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }

    void reportHandOvers (benchmark::State& state, const TimedStatusReporter& times, double elapsedSeconds)
    {
        const auto calls = juce::jmax ((juce::int64) 1, times.getNumCalls());
        state.counters["handOverMean"] = times.getTotalSeconds() / (double) calls;
        state.counters["handOverLongest"] = times.getLongestSeconds();
        state.counters["handOverShare"] = times.getTotalSeconds() / elapsedSeconds;
    }

    // Runs the rig's update on the programming page's modal loop for every iteration,
    // and says how long the status hand-overs kept the worker; false when it could not run.
    bool programOnPage (benchmark::State& state, ProgrammingRig& rig)
    {
        const auto form = (PageForm) state.range (0);
        const auto loop = state.range (1) == 0 ? ProgrammingOnPage::Loop::wizard : ProgrammingOnPage::Loop::juceModal;

        if (form == pageShown && ! canShowPages())
        {
            state.SkipWithError ("no display to show the page on (run under xvfb-run)");
            return false;
        }

        ProgrammingOnPage onPage (form == pageShown, loop);
        const auto start = Clock::now();

        for ([[maybe_unused]] auto iteration : state)
            if (! onPage.run (rig.getDevice(), rig.getImage()))
                state.SkipWithError ("programming failed");

        reportHandOvers (state, onPage.getStatusTimes(), secondsSince (start));
        return true;
    }

    // The cost per block on a link without latency, one block in flight, nobody
    // reporting: with the tests' simulated device (argument 0), or with one whose own
    // time is small (1), which leaves the host's and the virtual ports'.
    void programOneMebibyteInBlocksOf256 (benchmark::State& state)
    {
        ProgrammingRig rig (oneMebibyte, (ProgrammingRig::FarSide) state.range (0));

        for ([[maybe_unused]] auto iteration : state)
            if (! rig.programOnce (nullptr, nullptr))
                state.SkipWithError ("programming failed");

        state.counters["perBlock"] = perBlock (rig);
    }

    // The same, run as the wizard runs it: UpdateThread on the programming page, whose
    // status texts each wait for the message thread. JUCE's modal loop (second argument
    // 1) is not the wizard's: it shows what that loop's polling costs.
    void programOneMebibyteOnTheProgrammingPage (benchmark::State& state)
    {
        ProgrammingRig rig (oneMebibyte, ProgrammingRig::FarSide::transcriptFree);

        if (programOnPage (state, rig))
            state.counters["perBlock"] = perBlock (rig);
    }

    // How far the whole exchange stays from the least time the link allows it: its
    // bytes' wire time and a round trip per answered request.
    void timeOverLinkFloor (benchmark::State& state, const ProgrammingRig& rig, double elapsedSeconds)
    {
        state.counters["timeOverFloor"] = elapsedSeconds / rig.getLinkFloorSeconds();
    }

    // False, with the benchmark skipped, when the rig cannot reach its device.
    bool reachesItsDevice (benchmark::State& state, const ProgrammingRig& rig)
    {
        if (! rig.isConnected())
            state.SkipWithError ("no sequencer port of the device: run with LD_LIBRARY_PATH=<build>/sequencer");

        return rig.isConnected();
    }

    void programOverLink (benchmark::State& state, juce::uint32 imageSize, ProgrammingSetUp::Link link,
                          ProgrammingRig::Ports ports = ProgrammingRig::Ports::virtualPorts)
    {
        ProgrammingRig rig (imageSize, ProgrammingRig::FarSide::simulatedDevice, link, ports);

        if (! reachesItsDevice (state, rig))
            return;

        const auto start = Clock::now();

        for ([[maybe_unused]] auto iteration : state)
            if (! rig.programOnce (nullptr, nullptr))
                state.SkipWithError ("programming failed");

        timeOverLinkFloor (state, rig, secondsSince (start));
    }

    void programOverLinkOnTheProgrammingPage (benchmark::State& state, juce::uint32 imageSize, ProgrammingSetUp::Link link,
                                              ProgrammingRig::Ports ports = ProgrammingRig::Ports::virtualPorts)
    {
        ProgrammingRig rig (imageSize, ProgrammingRig::FarSide::simulatedDevice, link, ports);

        if (! reachesItsDevice (state, rig))
            return;

        const auto start = Clock::now();

        if (programOnPage (state, rig))
            timeOverLinkFloor (state, rig, secondsSince (start));
    }

    void programFourKibibytesOverDinMidi (benchmark::State& state)
    {
        programOverLink (state, fourKibibytes, ProgrammingSetUp::dinLink);
    }

    void programFourKibibytesOverDinMidiOnTheProgrammingPage (benchmark::State& state)
    {
        programOverLinkOnTheProgrammingPage (state, fourKibibytes, ProgrammingSetUp::dinLink);
    }

    // USB-MIDI: a block's round trip takes about as long as the host's own work could,
    // so here the host's share shows.
    void programOneMebibyteOverUsbMidi (benchmark::State& state)
    {
        programOverLink (state, oneMebibyte, ProgrammingSetUp::usbFullSpeedLink);
    }

    void programOneMebibyteOverUsbMidiOnTheProgrammingPage (benchmark::State& state)
    {
        programOverLinkOnTheProgrammingPage (state, oneMebibyte, ProgrammingSetUp::usbFullSpeedLink);
    }

    // The same through the path of a real update on Linux: JUCE's ALSA code, the
    // sequencer's socket and its device driver, each SysEx reply in 256-byte pieces.
    void programOneMebibyteOverUsbMidiThroughAlsa (benchmark::State& state)
    {
        programOverLink (state, oneMebibyte, ProgrammingSetUp::usbFullSpeedLink, ProgrammingRig::Ports::alsaSequencer);
    }

    void programOneMebibyteOverUsbMidiThroughAlsaOnTheProgrammingPage (benchmark::State& state)
    {
        programOverLinkOnTheProgrammingPage (state, oneMebibyte, ProgrammingSetUp::usbFullSpeedLink,
                                             ProgrammingRig::Ports::alsaSequencer);
    }
}

BENCHMARK (programOneMebibyteInBlocksOf256)
    ->ArgName ("transcriptFree")
    ->Arg ((int) ProgrammingRig::FarSide::simulatedDevice)
    ->Arg ((int) ProgrammingRig::FarSide::transcriptFree)
    ->Unit (benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK (programOneMebibyteOnTheProgrammingPage)
    ->ArgNames ({ "shown", "juceLoop" })
    ->Args ({ pageHidden, 0 })
    ->Args ({ pageShown, 0 })
    ->Args ({ pageHidden, 1 })
    ->Args ({ pageShown, 1 })
    ->Unit (benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK (programFourKibibytesOverDinMidi)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (2);
BENCHMARK (programFourKibibytesOverDinMidiOnTheProgrammingPage)
    ->ArgNames ({ "shown", "juceLoop" })
    ->Args ({ pageShown, 0 })
    ->Args ({ pageShown, 1 })
    ->Unit (benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations (2);
BENCHMARK (programOneMebibyteOverUsbMidi)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (1);
BENCHMARK (programOneMebibyteOverUsbMidiOnTheProgrammingPage)
    ->ArgNames ({ "shown", "juceLoop" })
    ->Args ({ pageShown, 0 })
    ->Args ({ pageShown, 1 })
    ->Unit (benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations (1);
BENCHMARK (programOneMebibyteOverUsbMidiThroughAlsa)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (1);
BENCHMARK (programOneMebibyteOverUsbMidiThroughAlsaOnTheProgrammingPage)
    ->ArgNames ({ "shown", "juceLoop" })
    ->Args ({ pageShown, 0 })
    ->Unit (benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations (1);
