#pragma once

#include "sim/SimulatedDeviceConfig.h"
#include "tests/device/ShortReplyTimeouts.h"

#include <optional>
#include <vector>

/** One complete update for the soak to run: the device plugged in (with the fault it
    commits, if any), the image it is offered, and what goes wrong on the computer's
    side instead, if anything. A plain value.
*/
struct SoakScenario
{
    /** The products whose devices the program treats in a way of their own. */
    enum class Model
    {
        plain,
        answersIdentityTwice,   // Calvio 0x1A/2
        preparesLowPages,       // Calvio 0x1A/1: four pages made ready before the region at 0
        reopensPorts            // Brisma 0x5C/4: deaf in update mode until its ports are reopened
    };

    enum class HostFault
    {
        none,
        portsRefuse,            // the input stops opening once the device has been found
        imageCutShort,          // the image's last record runs past the end of the file
        imageMissing            // the server has no image at the revision's address
    };

    struct Record
    {
        juce::uint32 address = 0;
        std::vector<juce::uint8> data;

        juce::uint32 getEnd() const noexcept { return address + (juce::uint32) data.size(); }
    };

    /** The image file of records, less cutShort bytes at its end. */
    juce::MemoryBlock makeImageFile() const;

    /** The update product ID differs from the product ID. */
    bool hasSeparateUpdateId() const noexcept { return device.updateProductId != device.productId; }

    /** The device's fault, when it has one. */
    std::optional<SimulatedFault> getDeviceFault() const;

    /** A line that tells a failing run apart: model, IDs, mode and fault. */
    juce::String describe() const;

    Model model = Model::plain;
    SimulatedDeviceConfig device;
    std::vector<Record> records;    // ascending, none overlapping
    bool imageOverHttp = true;      // else read from a file, as a local image address is
    HostFault hostFault = HostFault::none;
    int inputOpeningsLeft = 0;      // portsRefuse: inputs that still open for programming
    size_t cutShort = 0;            // imageCutShort: bytes taken off the file's end

    // How long the host waits for each reply: short, so that a batch can afford many
    // silences. The oracle reckons with the same value the host's devices are given.
    ReplyTimeouts replyTimeouts = devicetest::shortReplyTimeouts();
};
