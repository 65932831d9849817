#pragma once

#include "sim/SimulatedDeviceConfig.h"
#include "sim/SimulatedFlash.h"
#include "sim/SimulatedReplies.h"
#include "sim/SimulatedRequest.h"

#include <atomic>
#include <vector>

/** What runs inside a simulated device: which requests it answers in which mode, what
    it answers, and its flash.

    accepts, handle and hostPortsChanged are called on the device's delivery thread only;
    isInUpdateMode and readFlash may be called from any thread.
*/
class SimulatedFirmware
{
public:
    explicit SimulatedFirmware (const SimulatedDeviceConfig& config);

    /** The manufacturer ID the device listens to. */
    const SysexHeader& getManufacturer() const noexcept;

    /** True when the device listens now and request carries its IDs. */
    bool accepts (const SimulatedRequest& request) const noexcept;

    /** Carries out an accepted request and returns the device's answers, in order. */
    std::vector<juce::MidiMessage> handle (const SimulatedRequest& request);

    /** The host's ports of the device's name changed: a device waiting for them to be
        closed and reopened notes it.
    */
    void hostPortsChanged (int openInputs, int openOutputs) noexcept;

    bool isInUpdateMode() const noexcept;
    const SimulatedReplies& getReplies() const noexcept;
    std::vector<juce::uint8> readFlash (juce::uint32 address, juce::uint32 length) const;

private:
    std::vector<juce::MidiMessage> identify() const;
    std::vector<juce::MidiMessage> enterUpdateMode();
    std::vector<juce::MidiMessage> prepareWrite();
    std::vector<juce::MidiMessage> writeBlock (const SimulatedRequest& request);

    /** The error code that refuses this write, or -1 when it may go ahead. */
    int checkWrite (const SimulatedRequest& request) const;
    juce::MidiMessage refuse (juce::uint8 command, juce::uint8 errorCode) const;

    const SimulatedDeviceConfig& config;
    const SysexHeader manufacturer;
    const SimulatedReplies replies;
    SimulatedFlash flash;
    std::atomic<bool> updateMode;

    // Only the delivery thread touches these.
    bool writePrepared = false;
    bool awaitingReopen = false;
    bool hostClosedPorts = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedFirmware)
};
