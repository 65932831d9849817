#include "tests/device/ProgrammingTest.h"

SimulatedDeviceConfig ProgrammingTest::configWithRegions (std::vector<SimulatedRegion> regions)
{
    auto config = pedalConfig();
    config.memoryMap = SimulatedMemoryMap::covering (256, std::move (regions));
    return config;
}

std::unique_ptr<MidiTargetDevice> ProgrammingTest::unprobedDevice (const SimulatedDeviceConfig& config)
{
    auto device = std::make_unique<MidiTargetDevice> (productOf (config), ports);
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
