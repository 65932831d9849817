#pragma once

#include "device/MidiTargetDevice.h"
#include "sim/ports/VirtualMidiPortSystem.h"
#include "sim/SimulatedDevice.h"
#include "tests/device/DeviceTestSupport.h"
#include "tests/support/ReportRecorder.h"

#include <gtest/gtest.h>

/** A WriteBlock as a device heard it: its address and its number of data bytes. */
struct HeardWrite
{
    juce::uint32 address;
    juce::uint32 size;

    bool operator== (const HeardWrite& other) const noexcept { return address == other.address && size == other.size; }
};

std::ostream& operator<< (std::ostream& out, const HeardWrite& write);

/** Devices of the program's own device code against simulated devices on virtual
    ports. The port name "Pedal" is input 0 and output 0 from the start.
*/
class SimulatedTargetTest : public ::testing::Test
{
protected:
    SimulatedTargetTest();

    /** A Calvio device on "Pedal": family 0x05, product and update product 0x02,
        device ID 0x03, named "Blue Pedal", at version 1.05, acknowledging the switch into
        update mode; one region of 0x1000 bytes at 0 and blocks of 256 bytes.
    */
    static SimulatedDeviceConfig pedalConfig();

    /** The catalogue product of the devices of config, with config's port name as its port. */
    static TargetProduct productOf (const SimulatedDeviceConfig& config);

    SimulatedDevice& attach (SimulatedDeviceConfig config);

    /** A device of config's product probed on input 0 and output 0; the test fails
        when the probe does.
    */
    std::unique_ptr<MidiTargetDevice> probedDevice (const SimulatedDeviceConfig& config, const ReplyTimeouts& timeouts = {});

    /** Programs image into device; what it threw, or empty when it succeeded. */
    std::string program (MidiTargetDevice& device, const juce::MemoryBlock& image);

    /** Each message simulated heard from the host, as "command: payload" in hex. */
    static std::vector<std::string> heardBy (const SimulatedDevice& simulated);

    /** The address of each WriteBlock simulated heard, in order. */
    static std::vector<juce::uint32> writesHeardBy (const SimulatedDevice& simulated);

    /** Each WriteBlock simulated heard, in order. */
    static std::vector<HeardWrite> writeBlocksHeardBy (const SimulatedDevice& simulated);

    VirtualMidiPortSystem ports;
    std::vector<std::unique_ptr<SimulatedDevice>> simulatedDevices;
    ReportRecorder reporter;
};
