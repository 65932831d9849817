#include "bench/TranscriptFreeDevice.h"

TranscriptFreeDevice::TranscriptFreeDevice (VirtualMidiPortSystem& ports, SimulatedDeviceConfig configToUse)
    : config (std::move (configToUse)),
      firmware (config)
{
    const juce::ScopedLock sl (connectionLock);
    connection = ports.attach (config.portName, *this);
}

TranscriptFreeDevice::~TranscriptFreeDevice()
{
    std::unique_ptr<VirtualEndpointConnection> leaving;

    {
        const juce::ScopedLock sl (connectionLock);
        leaving = std::move (connection);
    }

    // Destroying the connection waits for a delivery that is running, so not under the lock.
    leaving.reset();
}

const SimulatedDeviceConfig& TranscriptFreeDevice::getConfig() const noexcept
{
    return config;
}

std::vector<juce::uint8> TranscriptFreeDevice::readFlash (juce::uint32 address, juce::uint32 length) const
{
    return firmware.readFlash (address, length);
}

void TranscriptFreeDevice::messageFromHost (const juce::MidiMessage& message)
{
    const auto request = SimulatedRequest::parse (message, firmware.getManufacturer());

    if (! request.has_value() || ! firmware.accepts (*request))
        return;

    const auto replies = firmware.handle (*request);
    const juce::ScopedLock sl (connectionLock);

    if (connection != nullptr)
        for (const auto& reply : replies)
            connection->sendToHost (reply);
}

void TranscriptFreeDevice::hostPortsChanged (int openInputs, int openOutputs)
{
    firmware.hostPortsChanged (openInputs, openOutputs);
}
