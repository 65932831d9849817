#pragma once

#include "catalogue/TargetProduct.h"
#include "device/MidiTargetDevice.h"
#include "device/ports/MidiPortSystem.h"

#include <memory>
#include <set>
#include <utility>

/** Finds the catalogue's devices among the MIDI ports: every input and output pair
    whose names contain a port name of a product (an empty or blank one matches none) is
    asked who it is, once for each product however many of its names match, and each
    device that answers for that product becomes a MidiTargetDevice.

    Runs on the scan worker. When that thread is told to exit, the scan stops before
    its next probe and returns what it found so far.
*/
class MidiDeviceScanner
{
public:
    /** Every device found waits for its replies as timeoutsToUse says. */
    MidiDeviceScanner (MidiPortSystem& portSystemToUse, const ReplyTimeouts& timeoutsToUse);

    /** The identified devices, in the order found; nullptr when none answered. The
        caller owns the list and its devices.
    */
    std::unique_ptr<juce::OwnedArray<TargetDevice>> findDevices (const juce::OwnedArray<TargetProduct>& products);

    /** Identifies device on one port pair and reads its version unless it waits in update
        mode; the ports are closed again on return. False when the ports do not open or
        the exchange fails.
    */
    static bool probe (MidiTargetDevice& device, int inputIndex, int outputIndex);

private:
    void scanPort (const TargetProduct& product, const TargetPort& port);
    void probeNewDevice (const TargetProduct& product, int inputIndex, int outputIndex);

    MidiPortSystem& portSystem;
    const ReplyTimeouts timeouts;
    juce::StringArray inputNames;
    juce::StringArray outputNames;

    // The input and output pairs asked for the product being scanned. Devices of other
    // products may share a pair, behind one MIDI interface, so each product asks anew.
    std::set<std::pair<int, int>> probedPairs;

    std::unique_ptr<juce::OwnedArray<TargetDevice>> found;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiDeviceScanner)
};
