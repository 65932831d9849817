#include "bench/SequencerPorts.h"

#include <cstdlib>

namespace
{
    std::string announced (const juce::File& socket)
    {
        ::setenv (SequencerServer::socketVariable, socket.getFullPathName().toRawUTF8(), 1);
        return socket.getFullPathName().toStdString();
    }
}

SequencerPorts::SequencerPorts (SimulatedDeviceConfig config)
    : deviceName (config.portName),
      server (kernel, announced (socket.getFile())),
      rack (kernel, { { std::move (config), SequencerDeviceRack::Link::usb } })
{
}

SequencerPorts::~SequencerPorts() = default;

MidiPortSystem& SequencerPorts::getPorts() noexcept
{
    return ports;
}

bool SequencerPorts::findPorts (int& input, int& output)
{
    const auto portName = SequencerUsbClient::portName (deviceName, 0);
    input = ports.getInputNames().indexOf (portName);
    output = ports.getOutputNames().indexOf (portName);
    return input >= 0 && output >= 0;
}

const SimulatedDevice& SequencerPorts::getDevice() const
{
    return *rack.findDevice (deviceName);
}
