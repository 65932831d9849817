#include "tests/device/ProgrammingTest.h"

SimulatedDeviceConfig ProgrammingTest::configWithRegions (std::vector<SimulatedRegion> regions)
{
    auto config = pedalConfig();
    config.memoryMap = SimulatedMemoryMap::covering (256, std::move (regions));
    return config;
}

SimulatedDeviceConfig ProgrammingTest::configOfBlocks (int count)
{
    return configWithRegions ({ { 0x0000, (juce::uint32) count * 0x100 } });
}

SimulatedDeviceConfig ProgrammingTest::reopeningBrismaConfig()
{
    auto config = configOfBlocks (1);
    config.brand = TargetBrand::Brisma;
    config.familyId = 0x5C;
    config.productId = config.updateProductId = 0x04;
    config.needsReopenAfterUpdateMode = true;
    return config;
}

juce::MemoryBlock ProgrammingTest::imageOfBlocks (int count)
{
    return ImageFileBuilder().addRecord (0x0000, (juce::uint32) count * 0x100).getFile();
}

std::unique_ptr<MidiTargetDevice> ProgrammingTest::unprobedDevice (const SimulatedDeviceConfig& config,
                                                                  const ReplyTimeouts& timeouts)
{
    auto device = std::make_unique<MidiTargetDevice> (productOf (config), ports, timeouts);
    device->setPortIndices (0, 0);
    return device;
}

std::vector<int> ProgrammingTest::productIdsHeardBy (const SimulatedDevice& simulated)
{
    std::vector<int> productIds;

    for (const auto& message : simulated.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost))
        productIds.push_back (message[4]);

    return productIds;
}

bool ProgrammingTest::portsWereOpenedOnceAndClosed() const
{
    const std::vector<std::string> openedAndClosed { "0/0", "1/0", "1/1", "0/1", "0/0" };
    return observer.waitForPortChanges (openedAndClosed.size()) == openedAndClosed;
}
