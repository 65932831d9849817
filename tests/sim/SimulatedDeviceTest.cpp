#include "tests/sim/SimulatedDeviceTest.h"

#include "sim/SimulatedCommand.h"

SimulatedDeviceConfig SimulatedDeviceTest::calvio()
{
    SimulatedDeviceConfig config;
    config.portName = portName;
    config.brand = TargetBrand::Calvio;
    config.deviceId = 0x01;
    config.familyId = 0x05;
    config.productId = 0x02;
    config.updateProductId = 0x03;
    config.modelText = "CV-5";
    config.name = "Reverb One";
    config.versionB0 = 0x01;
    config.versionB1 = 0x05;
    config.memoryMap = SimulatedMemoryMap::covering (0x100, { { 0, 0x8000 }, { 0x10000, 0x4000 } });
    return config;
}

SimulatedDeviceConfig SimulatedDeviceTest::brisma()
{
    auto config = calvio();
    config.brand = TargetBrand::Brisma;
    config.familyId = 0x10;
    config.memoryMap = SimulatedMemoryMap::covering (0x100, { { 0x10000, 0x4000 } });
    return config;
}

SimulatedDeviceConfig SimulatedDeviceTest::model (TargetBrand brand, juce::uint8 familyId, juce::uint8 productId,
                                                  juce::uint8 updateProductId, const juce::String& name)
{
    SimulatedProduct product;
    product.brand = brand;
    product.familyId = familyId;
    product.productId = productId;
    product.updateProductId = updateProductId;
    product.portName = portName;
    product.name = name;
    return product.toConfig();
}

SimulatedDevice& SimulatedDeviceTest::start (SimulatedDeviceConfig config)
{
    device = std::make_unique<SimulatedDevice> (ports, std::move (config));
    return *device;
}

SysexHeader SimulatedDeviceTest::headerFor (juce::uint8 command, bool updateMode, juce::uint8 deviceId) const
{
    const auto& config = device->getConfig();
    auto header = SimulatedReplies::manufacturerOf (config.brand);
    header.deviceId = deviceId;
    header.familyId = config.familyId;
    header.productId = updateMode ? config.updateProductId : config.productId;
    header.command = command;
    return header;
}

SimulatedDeviceTest::Bytes SimulatedDeviceTest::request (juce::uint8 command, const Bytes& payload, bool updateMode) const
{
    return simbytes::super7 (headerFor (command, updateMode), payload);
}

SimulatedDeviceTest::Bytes SimulatedDeviceTest::writeBlock (juce::uint32 address, const Bytes& data) const
{
    Bytes payload { (juce::uint8) (address >> 24), (juce::uint8) (address >> 16), (juce::uint8) (address >> 8),
                    (juce::uint8) address, (juce::uint8) (data.size() >> 8), (juce::uint8) data.size() };
    payload.insert (payload.end(), data.begin(), data.end());
    return request (SimulatedCommand::writeBlock, payload, true);
}

juce::String SimulatedDeviceTest::exchange (const Bytes& message)
{
    const auto before = host.getReceived().size();
    sendAndSettle (message);

    if (! host.waitForReceived ((int) before + 1))
        return {};

    return host.getReceived()[before];
}

std::vector<juce::String> SimulatedDeviceTest::sendAndSettle (const Bytes& message)
{
    const auto& transcript = device->getTranscript();
    const auto handledBefore = transcript.getHandledCount();
    const auto sentBefore = sentByDevice().size();
    const auto receivedBefore = host.getReceived().size();

    host.send (message);
    EXPECT_TRUE (transcript.waitUntilHandled (handledBefore + 1, SimHost::waitBoundMs));

    const auto sent = sentByDevice();
    EXPECT_TRUE (host.waitForReceived ((int) (receivedBefore + sent.size() - sentBefore))) << "all of it reaches the host";
    return { sent.begin() + (std::ptrdiff_t) sentBefore, sent.end() };
}

::testing::AssertionResult SimulatedDeviceTest::enterUpdateModeOf (SimulatedDeviceConfig config)
{
    config.startsInUpdateMode = true;
    start (std::move (config));
    const auto answer = simbytes::commandOf (exchange (request (SimulatedCommand::prepareWrite, { 0x00 }, true)));

    if (answer != SimulatedCommand::ack)
        return ::testing::AssertionFailure() << "the device answered the preparation with command " << (int) answer;

    return ::testing::AssertionSuccess();
}

std::vector<juce::String> SimulatedDeviceTest::sentByDevice() const
{
    std::vector<juce::String> sent;

    for (const auto& message : device->getTranscript().getMessages (SimulatedTranscript::Direction::toHost))
        sent.push_back (simbytes::hexOf (message));

    return sent;
}
