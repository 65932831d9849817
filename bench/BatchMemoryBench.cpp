#include <benchmark/benchmark.h>

#include "bench/BatchRig.h"
#include "bench/HeapCounter.h"

#include <numeric>

namespace
{
    constexpr juce::uint32 imageSize = 64 * 1024;

    // The heap an update of numDevices at once adds at its peak, per device, against the
    // image: each device's flow holds its own downloaded image while it writes it, so
    // 1.0 is that image and nothing else. The devices keep no transcript, so what grows
    // is the host's.
    void holdAboutOneImagePerDeviceUpdatedSideBySide (benchmark::State& state)
    {
        const auto numDevices = (int) state.range (0);
        const auto source = state.range (1) == 0 ? BatchRig::ImageSource::localFile : BatchRig::ImageSource::loopbackServer;

        for ([[maybe_unused]] auto iteration : state)
        {
            state.PauseTiming();
            BatchRig rig (numDevices, imageSize, {}, ProgrammingRig::FarSide::transcriptFree, source);
            std::vector<int> all ((size_t) numDevices);
            std::iota (all.begin(), all.end(), 0);
            state.ResumeTiming();

            HeapCounter::startWindow();
            const auto baseline = HeapCounter::held();
            const auto updated = rig.update (all);
            const auto perDevice = (double) (HeapCounter::peak() - baseline) / numDevices;
            const auto leftPerDevice = ((double) HeapCounter::held() - (double) baseline) / numDevices;

            state.PauseTiming();

            if (! updated || ! rig.everyFlashHoldsImage())
                state.SkipWithError ("an update failed, or a flash does not hold the image");

            state.counters["peakPerDeviceKiB"] = perDevice / 1024.0;
            state.counters["peakPerDeviceOverImage"] = perDevice / imageSize;
            state.counters["leftPerDeviceKiB"] = leftPerDevice / 1024.0;
            state.counters["largestBlockKiB"] = (double) HeapCounter::largestBlock() / 1024.0;
            state.ResumeTiming();
        }
    }
}

BENCHMARK (holdAboutOneImagePerDeviceUpdatedSideBySide)
    ->ArgNames ({ "devices", "http" })
    ->ArgsProduct ({ { 1, 8, 32 }, { 0, 1 } })
    ->Unit (benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations (1);
