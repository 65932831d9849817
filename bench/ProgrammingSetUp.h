#pragma once

#include "catalogue/TargetProduct.h"
#include "sim/SimulatedDeviceConfig.h"
#include "sim/SimulatedTranscript.h"

/** The device and image the programming benchmarks share: a device on the port "Pedal"
    whose flash is two regions of half the image each, and an image of one record per
    region whose bytes are never 0xFF, so that every block goes over the wire.
*/
namespace ProgrammingSetUp
{
    constexpr juce::uint16 blockSize = 256;

    /** A link's speed, and the time each exchange waits beyond its bytes' wire time. */
    struct Link
    {
        double bytesPerSecond = 0.0;  // 0: messages take no time on the wire
        int roundTripMs = 0;
    };

    constexpr Link dinLink { SimulatedDeviceConfig::dinBytesPerSecond, 0 };
    constexpr Link usbFullSpeedLink { SimulatedDeviceConfig::usbFullSpeedBytesPerSecond, SimulatedDeviceConfig::usbRoundTripMs };

    SimulatedDeviceConfig deviceFor (juce::uint32 imageSize, Link link, juce::uint16 blockSizeToUse = blockSize);

    /** The catalogue product the host knows the device by. */
    TargetProduct productOf (const SimulatedDeviceConfig& config);

    /** The image file: its byte at address a is a % 251. */
    juce::MemoryBlock imageOf (juce::uint32 size);

    /** The byte the image holds at address. */
    juce::uint8 imageByteAt (juce::uint32 address);

    /** All the bytes both sides sent, as the transcript recorded them. */
    size_t bytesOnTheWire (const SimulatedTranscript& transcript);

    /** The least time the exchanges of the transcript can take on link: every byte's
        wire time, and a round trip for every request that was answered.
    */
    double linkFloorSeconds (const SimulatedTranscript& transcript, Link link);
}
