#include "tests/sequencer/SequencerRackTest.h"

#include "demo/DemoSetup.h"
#include "device/MidiDeviceScanner.h"
#include "tests/device/DeviceTestSupport.h"

SequencerRackTest::SequencerRackTest()
    : kernel (SequencerWorld::get().kernel)
{
}

SimulatedDeviceConfig SequencerRackTest::demoDevice (const juce::String& name)
{
    for (const auto& config : DemoSetup::standard (false).devices)
        if (config.portName == name)
            return config;

    ADD_FAILURE() << "no demo device " << name;
    return {};
}

void SequencerRackTest::plugIn (std::vector<SequencerDeviceRack::Placement> placements)
{
    rack = std::make_unique<SequencerDeviceRack> (kernel, std::move (placements));
}

std::unique_ptr<juce::OwnedArray<TargetDevice>> SequencerRackTest::scan (const std::vector<std::pair<SimulatedDeviceConfig, juce::String>>& products,
                                                                         const ReplyTimeouts& timeouts)
{
    juce::OwnedArray<TargetProduct> catalogue;

    for (const auto& [config, portName] : products)
        catalogue.add (std::make_unique<TargetProduct> (devicetest::makeProduct (config.brand, config.familyId, config.productId,
                                                                                 config.updateProductId, portName)));

    return MidiDeviceScanner (ports, timeouts).findDevices (catalogue);
}

int SequencerRackTest::clientNamed (const std::string& name) const
{
    for (const auto& client : kernel.clients())
        if (client.name == name)
            return client.client;

    return -1;
}

std::vector<std::string> SequencerRackTest::userPortsLeft() const
{
    auto& world = SequencerWorld::get();
    world.waitUntilNoUserPorts();
    std::vector<std::string> names;

    for (const auto& port : world.userPorts())
        names.push_back (port.name);

    return names;
}
