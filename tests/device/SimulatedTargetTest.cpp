#include "tests/device/SimulatedTargetTest.h"

#include "device/DeviceCommand.h"
#include "device/MidiDeviceScanner.h"
#include "device/sysex/Super7RxSysexMsg.h"
#include "sim/SimulatedProduct.h"

std::ostream& operator<< (std::ostream& out, const HeardWrite& write)
{
    return out << "{0x" << std::hex << write.address << ", 0x" << write.size << std::dec << "}";
}

SimulatedTargetTest::SimulatedTargetTest()
{
    ports.addInput ("Pedal");
    ports.addOutput ("Pedal");
}

SimulatedDeviceConfig SimulatedTargetTest::pedalConfig()
{
    SimulatedProduct pedal;
    pedal.familyId = 0x05;
    pedal.productId = pedal.updateProductId = 0x02;
    pedal.portName = "Pedal";
    pedal.name = "Blue Pedal";
    pedal.versionB0 = 1;
    pedal.versionB1 = 0x05;
    pedal.memoryMap = SimulatedMemoryMap::covering (256, { { 0x0000, 0x1000 } });

    auto config = pedal.toConfig();
    config.deviceId = 0x03;
    return config;
}

TargetProduct SimulatedTargetTest::productOf (const SimulatedDeviceConfig& config)
{
    return devicetest::makeProduct (config.brand, config.familyId, config.productId,
                                    config.updateProductId, config.portName);
}

SimulatedDevice& SimulatedTargetTest::attach (SimulatedDeviceConfig config)
{
    simulatedDevices.push_back (std::make_unique<SimulatedDevice> (ports, std::move (config)));
    return *simulatedDevices.back();
}

std::unique_ptr<MidiTargetDevice> SimulatedTargetTest::probedDevice (const SimulatedDeviceConfig& config,
                                                                   const ReplyTimeouts& timeouts)
{
    auto device = std::make_unique<MidiTargetDevice> (productOf (config), ports, timeouts);
    EXPECT_TRUE (MidiDeviceScanner::probe (*device, 0, 0));
    return device;
}

std::string SimulatedTargetTest::program (MidiTargetDevice& device, const juce::MemoryBlock& image)
{
    return devicetest::thrownBy ([&]
    {
        juce::MemoryInputStream stream (image, false);
        device.update (stream, &reporter, &reporter);
    });
}

std::vector<std::string> SimulatedTargetTest::heardBy (const SimulatedDevice& simulated)
{
    std::vector<std::string> heard;

    for (const auto& message : simulated.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost))
        heard.push_back (devicetest::decodeHostMessage (message));

    return heard;
}

std::vector<juce::uint32> SimulatedTargetTest::writesHeardBy (const SimulatedDevice& simulated)
{
    std::vector<juce::uint32> addresses;

    for (const auto& write : writeBlocksHeardBy (simulated))
        addresses.push_back (write.address);

    return addresses;
}

std::vector<HeardWrite> SimulatedTargetTest::writeBlocksHeardBy (const SimulatedDevice& simulated)
{
    std::vector<HeardWrite> writes;

    for (const auto& message : simulated.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost))
    {
        pex::Super7RxSysexMsg received;
        received.Append (message.data(), (juce::uint32) message.size());

        if (received.GetCommand() == DeviceCommand::WriteBlock)
        {
            const auto address = received.ReadDWord();
            writes.push_back ({ address, received.ReadWord() });
        }
    }

    return writes;
}
