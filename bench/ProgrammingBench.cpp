#include <benchmark/benchmark.h>

#include "device/MidiTargetDevice.h"
#include "sim/SimulatedDevice.h"

#include <chrono>

namespace
{
    constexpr juce::uint32 blockSize = 256;

    // A device on "Pedal" whose flash is two regions of half the image each.
    SimulatedDeviceConfig deviceFor (juce::uint32 imageSize, double linkBytesPerSecond)
    {
        const auto half = imageSize / 2;
        SimulatedDeviceConfig config;
        config.portName = "Pedal";
        config.familyId = 0x05;
        config.productId = config.updateProductId = 0x02;
        config.memoryMap = SimulatedMemoryMap::covering ((juce::uint16) blockSize, { { 0, half }, { half, half } });
        config.linkBytesPerSecond = linkBytesPerSecond;
        return config;
    }

    TargetProduct productOf (const SimulatedDeviceConfig& config)
    {
        TargetProduct product;
        product.brand = config.brand;
        product.familyId = config.familyId;
        product.productId = config.productId;
        product.updateProductId = config.updateProductId;
        return product;
    }

    // One record per region, none of it erased, so every block goes over the wire.
    juce::MemoryBlock imageOf (juce::uint32 size)
    {
        juce::MemoryOutputStream file;
        file.writeIntBigEndian (0x005C0005);

        for (juce::uint32 start = 0; start < size; start += size / 2)
        {
            file.writeIntBigEndian ((int) start);
            file.writeIntBigEndian ((int) (size / 2));

            for (juce::uint32 address = start; address < start + size / 2; ++address)
                file.writeByte ((char) (address % 251));
        }

        return file.getMemoryBlock();
    }

    size_t bytesOnTheWire (const SimulatedTranscript& transcript)
    {
        size_t total = 0;

        for (const auto& entry : transcript.getEntries())
            total += entry.bytes.size();

        return total;
    }

    struct Bench
    {
        Bench (juce::uint32 imageSize, double linkBytesPerSecond)
            : simulated (ports, deviceFor (imageSize, linkBytesPerSecond)),
              device (productOf (simulated.getConfig()), ports),
              image (imageOf (imageSize))
        {
            ports.addInput ("Pedal");
            ports.addOutput ("Pedal");
            device.setPortIndices (0, 0);
        }

        bool programOnce()
        {
            juce::MemoryInputStream stream (image, false);

            try
            {
                device.update (stream, nullptr, nullptr);
                return true;
            }
            catch (const std::exception&)
            {
                return false;
            }
        }

        VirtualMidiPortSystem ports;
        SimulatedDevice simulated;
        MidiTargetDevice device;
        const juce::MemoryBlock image;
    };

    // The host's own cost per block: a link without latency, one block in flight.
    void programOneMebibyteInBlocksOf256 (benchmark::State& state)
    {
        constexpr juce::uint32 imageSize = 1 << 20;
        Bench bench (imageSize, 0.0);

        for ([[maybe_unused]] auto iteration : state)
            if (! bench.programOnce())
                state.SkipWithError ("programming failed");

        state.counters["perBlock"] = benchmark::Counter (imageSize / blockSize,
                                                         benchmark::Counter::kIsIterationInvariantRate
                                                             | benchmark::Counter::kInvert);
    }

    // Against a DIN MIDI link: how far the whole exchange stays from the time its bytes
    // need on the wire alone. A small image keeps it to a few seconds.
    void programFourKibibytesOverDinMidi (benchmark::State& state)
    {
        constexpr juce::uint32 imageSize = 4096;
        Bench bench (imageSize, SimulatedDeviceConfig::dinBytesPerSecond);
        const auto start = std::chrono::steady_clock::now();

        for ([[maybe_unused]] auto iteration : state)
            if (! bench.programOnce())
                state.SkipWithError ("programming failed");

        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        const auto wireSeconds = (double) bytesOnTheWire (bench.simulated.getTranscript())
                                     / SimulatedDeviceConfig::dinBytesPerSecond;
        state.counters["timeOverWireTime"] = elapsed.count() / wireSeconds;
    }
}

BENCHMARK (programOneMebibyteInBlocksOf256)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (programFourKibibytesOverDinMidi)->Unit (benchmark::kMillisecond)->UseRealTime()->Iterations (2);
