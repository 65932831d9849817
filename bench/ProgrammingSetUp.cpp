#include "bench/ProgrammingSetUp.h"

namespace ProgrammingSetUp
{
    SimulatedDeviceConfig deviceFor (juce::uint32 imageSize, Link link, juce::uint16 blockSizeToUse)
    {
        const auto half = imageSize / 2;
        SimulatedDeviceConfig config;
        config.portName = "Pedal";
        config.familyId = 0x05;
        config.productId = config.updateProductId = 0x02;
        config.memoryMap = SimulatedMemoryMap::covering (blockSizeToUse, { { 0, half }, { half, half } });
        config.linkBytesPerSecond = link.bytesPerSecond;
        config.replyLatencyMs = link.roundTripMs;
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

    juce::MemoryBlock imageOf (juce::uint32 size)
    {
        juce::MemoryOutputStream file (size + 64);
        file.writeIntBigEndian (0x005C0005);

        for (juce::uint32 start = 0; start < size; start += size / 2)
        {
            file.writeIntBigEndian ((int) start);
            file.writeIntBigEndian ((int) (size / 2));

            for (juce::uint32 address = start; address < start + size / 2; ++address)
                file.writeByte ((char) imageByteAt (address));
        }

        return file.getMemoryBlock();
    }

    juce::uint8 imageByteAt (juce::uint32 address)
    {
        return (juce::uint8) (address % 251);
    }

    size_t bytesOnTheWire (const SimulatedTranscript& transcript)
    {
        size_t total = 0;

        for (const auto& entry : transcript.getEntries())
            total += entry.bytes.size();

        return total;
    }

    double linkFloorSeconds (const SimulatedTranscript& transcript, Link link)
    {
        using Direction = SimulatedTranscript::Direction;
        const auto entries = transcript.getEntries();
        size_t answered = 0;

        for (size_t i = 0; i + 1 < entries.size(); ++i)
            if (entries[i].direction == Direction::fromHost && entries[i + 1].direction == Direction::toHost)
                ++answered;

        const auto wireSeconds = link.bytesPerSecond > 0.0 ? (double) bytesOnTheWire (transcript) / link.bytesPerSecond : 0.0;
        return wireSeconds + (double) answered * link.roundTripMs / 1000.0;
    }
}
