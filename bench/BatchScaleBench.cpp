#include <benchmark/benchmark.h>

#include "bench/BatchRig.h"

#include <chrono>
#include <numeric>

#include <sys/resource.h>

namespace
{
    using Clock = std::chrono::steady_clock;

    constexpr juce::uint32 imageSize = 64 * 1024;

    // The processor time all of this process's threads have used so far.
    double processorSeconds()
    {
        rusage usage {};
        getrusage (RUSAGE_SELF, &usage);
        const auto seconds = [] (const timeval& t) { return (double) t.tv_sec + (double) t.tv_usec / 1e6; };
        return seconds (usage.ru_utime) + seconds (usage.ru_stime);
    }

    struct Run
    {
        double seconds = -1.0;      // negative when an update failed
        double processorSeconds = 0.0;
    };

    Run update (BatchRig& rig, const std::vector<int>& devices)
    {
        const auto start = Clock::now();
        const auto processorAtStart = processorSeconds();
        const auto succeeded = rig.update (devices);
        const auto seconds = std::chrono::duration<double> (Clock::now() - start).count();
        return { succeeded ? seconds : -1.0, processorSeconds() - processorAtStart };
    }

    // Every device of the rig updated in one batch, then each alone through a batch of
    // its own: how much longer all of them together take than the slowest alone.
    void updateSideBySide (benchmark::State& state, int numDevices, ProgrammingSetUp::Link link)
    {
        for ([[maybe_unused]] auto iteration : state)
        {
            BatchRig rig (numDevices, imageSize, link, ProgrammingRig::FarSide::simulatedDevice);
            std::vector<int> all ((size_t) numDevices);
            std::iota (all.begin(), all.end(), 0);

            const auto together = update (rig, all);

            if (together.seconds < 0.0 || ! rig.everyFlashHoldsImage())
            {
                state.SkipWithError ("an update failed, or a flash does not hold the image");
                return;
            }

            double slowest = 0.0, fastest = std::numeric_limits<double>::max(), processorAlone = 0.0;

            for (auto device : all)
            {
                const auto run = update (rig, { device });
                const auto alone = run.seconds;
                processorAlone += run.processorSeconds;

                if (alone < 0.0)
                {
                    state.SkipWithError ("an update of one device alone failed");
                    return;
                }

                slowest = juce::jmax (slowest, alone);
                fastest = juce::jmin (fastest, alone);
            }

            state.counters["togetherSeconds"] = together.seconds;
            state.counters["togetherProcessorSeconds"] = together.processorSeconds;
            state.counters["aloneProcessorSecondsInAll"] = processorAlone;
            state.counters["slowestAloneSeconds"] = slowest;
            state.counters["fastestAloneSeconds"] = fastest;
            state.counters["overSlowestAlone"] = together.seconds / slowest;
        }
    }

    void eightDevicesOverDinMidi (benchmark::State& state)
    {
        updateSideBySide (state, 8, ProgrammingSetUp::dinLink);
    }

    void thirtyTwoDevicesOverUsbMidi (benchmark::State& state)
    {
        updateSideBySide (state, 32, ProgrammingSetUp::usbFullSpeedLink);
    }
}

BENCHMARK (eightDevicesOverDinMidi)->Unit (benchmark::kSecond)->UseRealTime()->Iterations (1);
BENCHMARK (thirtyTwoDevicesOverUsbMidi)->Unit (benchmark::kSecond)->UseRealTime()->Iterations (1);
