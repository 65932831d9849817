#pragma once

#include "catalogue/TargetBrand.h"
#include "sim/SimulatedFault.h"
#include "sim/SimulatedMemoryMap.h"

#include <vector>

/** Everything that makes one simulated device: who it is, what it reports, how it
    behaves and what it does wrong. A plain value; set what a test needs and leave the
    rest.

    Brand selects the manufacturer ID the device answers to (Calvio: 06, Brisma: 00 00 10);
    a device of another brand answers nothing. While it runs normally it answers messages
    for its familyId and productId, while it waits in update mode those for its familyId
    and updateProductId, and in both only those for device ID 7F or its own deviceId.
    A device that acknowledges EnterUpdateMode is addressed by the host with its normal
    IDs afterwards, so such a device needs equal product IDs.
*/
struct SimulatedDeviceConfig
{
    /** The bytes that follow the mode byte of an IdentityReply. */
    enum class IdentityForm
    {
        fourBytes,      // nothing: device ID, two bytes, mode
        fiveBytes,      // one more byte, but no texts
        withTexts       // one more byte, modelText and name, each ending in 00
    };

    /** DIN MIDI's 31,250 baud with ten bits a byte. */
    static constexpr double dinBytesPerSecond = 3125.0;

    /** USB-MIDI 1.0 at full speed: 12 Mbit/s, three MIDI bytes in each four-byte
        USB-MIDI event.
    */
    static constexpr double usbFullSpeedBytesPerSecond = 12'000'000.0 / 8.0 * 3.0 / 4.0;

    /** A USB full-speed frame: a request and its answer take at least one. */
    static constexpr int usbRoundTripMs = 1;

    juce::String portName;
    TargetBrand brand = TargetBrand::Calvio;
    juce::uint8 deviceId = 0x01;
    juce::uint8 familyId = 0x01;
    juce::uint8 productId = 0x01;
    juce::uint8 updateProductId = 0x01;

    IdentityForm identityForm = IdentityForm::withTexts;
    juce::String modelText;  // the first text; the host reads and drops it
    juce::String name;       // the second text: the name the host shows
    juce::uint8 versionB0 = 1;
    juce::uint8 versionB1 = 0;
    SimulatedMemoryMap memoryMap;

    bool startsInUpdateMode = false;
    bool acknowledgesUpdateMode = true;     // false: switches without a reply
    bool answersIdentityTwice = false;      // the Calvio 0x1A/2 model
    bool needsReopenAfterUpdateMode = false; // the Brisma 0x5C/4 model: deaf until the host closes and reopens its ports

    int replyLatencyMs = 0;
    double linkBytesPerSecond = 0.0;        // 0: messages take no time on the wire

    std::vector<SimulatedFault> faults;
};
