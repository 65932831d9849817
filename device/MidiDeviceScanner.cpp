#include "device/MidiDeviceScanner.h"

#include "device/CommException.h"

MidiDeviceScanner::MidiDeviceScanner (MidiPortSystem& portSystemToUse, const ReplyTimeouts& timeoutsToUse)
    : portSystem (portSystemToUse),
      timeouts (timeoutsToUse)
{
}

std::unique_ptr<juce::OwnedArray<TargetDevice>> MidiDeviceScanner::findDevices (const juce::OwnedArray<TargetProduct>& products)
{
    inputNames = portSystem.getInputNames();
    outputNames = portSystem.getOutputNames();
    found.reset();

    for (const auto* product : products)
    {
        probedPairs.clear();

        for (const auto* port : product->ports)
            scanPort (*product, *port);
    }

    return std::move (found);
}

bool MidiDeviceScanner::probe (MidiTargetDevice& device, int inputIndex, int outputIndex)
{
    device.setPortIndices (inputIndex, outputIndex);

    if (! device.openPorts())
        return false;

    try
    {
        device.identify();

        if (! device.isWaitingForUpdate())
            device.readVersion();
    }
    catch (const CommException&)
    {
        device.closePorts();
        return false;
    }

    device.closePorts();
    return true;
}

// The first count - 1 matching inputs, and the first count - 1 matching outputs, are
// passed over: a product with several ports of one name is reached through a later one.
void MidiDeviceScanner::scanPort (const TargetProduct& product, const TargetPort& port)
{
    // Every name contains the empty one, and most contain a blank: a product without a
    // real port name would be asked for on the ports of every other device.
    if (port.name.trim().isEmpty())
        return;

    auto inputsToSkip = port.count;
    auto outputsToSkip = port.count;

    for (int input = 0; input < inputNames.size(); ++input)
    {
        if (! inputNames[input].contains (port.name) || inputsToSkip-- > 1)
            continue;

        for (int output = 0; output < outputNames.size(); ++output)
        {
            if (! outputNames[output].contains (port.name) || outputsToSkip-- > 1)
                continue;

            if (juce::Thread::currentThreadShouldExit())
                return;

            // Two port names of one product may both match a pair: asked twice, the one
            // device would be listed, and updated, twice.
            if (probedPairs.insert ({ input, output }).second)
                probeNewDevice (product, input, output);
        }
    }
}

void MidiDeviceScanner::probeNewDevice (const TargetProduct& product, int inputIndex, int outputIndex)
{
    auto device = std::make_unique<MidiTargetDevice> (product, portSystem, timeouts);

    if (! probe (*device, inputIndex, outputIndex))
        return;

    if (found == nullptr)
        found = std::make_unique<juce::OwnedArray<TargetDevice>>();

    found->add (device.release());
}
