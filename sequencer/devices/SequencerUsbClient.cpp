#include "sequencer/devices/SequencerUsbClient.h"

#include "sequencer/devices/SequencerEventSplitter.h"

SequencerUsbClient::SequencerUsbClient (SequencerKernel& kernelToUse, const juce::String& clientName, int numPorts)
    : kernel (kernelToUse),
      name (clientName),
      devices ((size_t) numPorts),
      client (kernel.addKernelClient (clientName.toStdString(), *this))
{
    for (int index = 0; index < numPorts; ++index)
    {
        [[maybe_unused]] const auto port = kernel.addKernelPort (client, portName (name, index).toStdString(),
                                                                 portCapabilities, portType);
        jassert (port == index);
    }
}

SequencerUsbClient::~SequencerUsbClient()
{
    for (auto& device : devices)
        if (device != nullptr)
            device->detach();

    unplug();
}

juce::String SequencerUsbClient::portName (const juce::String& clientName, int index)
{
    return clientName + " MIDI " + juce::String (index + 1);
}

const SequencerDevice& SequencerUsbClient::plugIn (int index, SimulatedDeviceConfig config, Plug plug)
{
    jassert (index >= 0 && index < getNumPorts());

    config.portName = portName (name, index);
    const snd_seq_addr_t address { (unsigned char) client, (unsigned char) index };
    const auto isUsbDevice = plug == Plug::usbDevice;
    auto whenVanished = isUsbDevice ? std::function<void()> ([this] { unplug(); }) : std::function<void()>();
    const auto sysexPiece = isUsbDevice ? SequencerEventSplitter::maxSysexPiece : SequencerEventSplitter::dinSysexPiece;
    auto device = std::make_unique<SequencerDevice> (kernel, address, std::move (config), sysexPiece, std::move (whenVanished));

    const std::lock_guard<std::mutex> lock (devicesLock);
    devices[(size_t) index] = std::move (device);
    return *devices[(size_t) index];
}

int SequencerUsbClient::getClient() const noexcept
{
    return client;
}

int SequencerUsbClient::getNumPorts() const noexcept
{
    return (int) devices.size();
}

const juce::String& SequencerUsbClient::getName() const noexcept
{
    return name;
}

bool SequencerUsbClient::isUnplugged() const noexcept
{
    return unplugged;
}

void SequencerUsbClient::unplug()
{
    if (! unplugged.exchange (true))
        kernel.removeClient (client);
}

void SequencerUsbClient::eventArrived (int port, const SequencerEvent& event)
{
    const std::lock_guard<std::mutex> lock (devicesLock);

    if (port >= 0 && port < getNumPorts())
        if (auto& device = devices[(size_t) port])
            device->eventArrived (event);
}
