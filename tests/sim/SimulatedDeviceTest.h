#pragma once

#include "sim/SimulatedDevice.h"
#include "sim/SimulatedProduct.h"
#include "tests/sim/SimBytes.h"
#include "tests/sim/SimHost.h"

#include <gtest/gtest.h>

/** One port name with the host's ports open on it and, once start is called, a
    simulated device attached. Members go in reverse order: the device, the host's
    ports, the port system.
*/
class SimulatedDeviceTest : public ::testing::Test
{
protected:
    using Bytes = simbytes::Bytes;

    static constexpr const char* portName = "Calvio Pedal";

    /** Calvio, family 05, product 02 (update mode: 03), device ID 01, "CV-5" and
        "Reverb One", version bytes 01 05, blocks of 0x100 bytes, regions 0 (0x8000 bytes)
        and 0x10000 (0x4000 bytes), flash from 0 to 0x14000.
    */
    static SimulatedDeviceConfig calvio();

    /** Brisma, family 10, product 02 (update mode: 03), device ID 01, blocks of 0x100
        bytes, one region 0x10000 (0x4000 bytes).
    */
    static SimulatedDeviceConfig brisma();

    /** A device of a model described by product, on this test's port. */
    static SimulatedDeviceConfig model (TargetBrand brand, juce::uint8 familyId, juce::uint8 productId,
                                        juce::uint8 updateProductId, const juce::String& name);

    SimulatedDevice& start (SimulatedDeviceConfig config);

    /** The header of a message for the started device in the given mode. */
    SysexHeader headerFor (juce::uint8 command, bool updateMode, juce::uint8 deviceId = 0x7F) const;

    /** A request for the started device in the given mode. */
    Bytes request (juce::uint8 command, const Bytes& payload = {}, bool updateMode = false) const;

    /** A WriteBlock for the started device in update mode. */
    Bytes writeBlock (juce::uint32 address, const Bytes& data) const;

    /** Sends message, lets it settle (as sendAndSettle) and returns the first message the
        host received after it, in hex; empty when nothing arrived within the bound.
    */
    juce::String exchange (const Bytes& message);

    /** Sends message, waits until the device has handled it and the host has received
        what the device sent for it, and returns that, in hex.
    */
    std::vector<juce::String> sendAndSettle (const Bytes& message);

    /** Starts a device made from config already in update mode, and prepares it for writing. */
    [[nodiscard]] ::testing::AssertionResult enterUpdateModeOf (SimulatedDeviceConfig config);

    std::vector<juce::String> sentByDevice() const;

    VirtualMidiPortSystem ports;
    SimHost host { ports, portName };
    std::unique_ptr<SimulatedDevice> device;
};
