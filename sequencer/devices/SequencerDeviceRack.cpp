#include "sequencer/devices/SequencerDeviceRack.h"

SequencerDeviceRack::SequencerDeviceRack (SequencerKernel& kernelToUse, std::vector<Placement> placements,
                                          const juce::String& interfaceName)
    : kernel (kernelToUse)
{
    for (auto& placement : placements)
    {
        if (placement.link == Link::usb)
            plugInUsb (std::move (placement.config));
        else
            plugInDin (std::move (placement.config), interfaceName);
    }
}

// Each client detaches its devices before it leaves the kernel.
SequencerDeviceRack::~SequencerDeviceRack() = default;

const SimulatedDevice* SequencerDeviceRack::findDevice (const juce::String& name) const
{
    for (const auto& slot : slots)
        if (slot.name == name)
            return &slot.device->getDevice();

    return nullptr;
}

juce::StringArray SequencerDeviceRack::takeNewlyUnplugged()
{
    juce::StringArray names;

    for (auto& slot : slots)
    {
        if (slot.unplugsClient && ! slot.unplugReported && slot.client->isUnplugged())
        {
            slot.unplugReported = true;
            names.add (slot.name);
        }
    }

    return names;
}

void SequencerDeviceRack::plugInUsb (SimulatedDeviceConfig config)
{
    config.linkBytesPerSecond = SimulatedDeviceConfig::usbFullSpeedBytesPerSecond;
    config.replyLatencyMs = std::max (config.replyLatencyMs, SimulatedDeviceConfig::usbRoundTripMs);

    const auto name = config.portName;
    clients.push_back (std::make_unique<SequencerUsbClient> (kernel, name, 1));
    remember (name, clients.back()->plugIn (0, std::move (config), SequencerUsbClient::Plug::usbDevice), *clients.back(), true);
}

void SequencerDeviceRack::plugInDin (SimulatedDeviceConfig config, const juce::String& interfaceName)
{
    if (interface == nullptr || interfaceCablesUsed == interfaceCables)
    {
        clients.push_back (std::make_unique<SequencerUsbClient> (kernel, interfaceName, interfaceCables));
        interface = clients.back().get();
        interfaceCablesUsed = 0;
    }

    config.linkBytesPerSecond = SimulatedDeviceConfig::dinBytesPerSecond;

    const auto name = config.portName;
    remember (name, interface->plugIn (interfaceCablesUsed++, std::move (config), SequencerUsbClient::Plug::dinCable), *interface, false);
}

void SequencerDeviceRack::remember (const juce::String& name, const SequencerDevice& device,
                                    const SequencerUsbClient& client, bool unplugsClient)
{
    slots.push_back ({ name, &device, &client, unplugsClient, false });
}
