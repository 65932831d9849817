#include "sim/SimulatedDevice.h"

SimulatedDevice::SimulatedDevice (VirtualMidiPortSystem& ports, SimulatedDeviceConfig configToUse)
    : config (std::move (configToUse)),
      firmware (config),
      faults (config.faults),
      link (config.linkBytesPerSecond, config.replyLatencyMs)
{
    // A message can arrive as soon as the device is attached; its answer waits for the lock.
    const juce::ScopedLock sl (connectionLock);
    connection = ports.attach (config.portName, *this);
}

SimulatedDevice::~SimulatedDevice()
{
    link.cancel();

    {
        // From here on no detacher starts, and one that started is in place.
        const juce::ScopedLock sl (connectionLock);
        vanished = true;
    }

    detach();

    if (detacher.joinable())
        detacher.join();
}

const SimulatedDeviceConfig& SimulatedDevice::getConfig() const noexcept
{
    return config;
}

const SimulatedTranscript& SimulatedDevice::getTranscript() const noexcept
{
    return transcript;
}

std::vector<juce::uint8> SimulatedDevice::readFlash (juce::uint32 address, juce::uint32 length) const
{
    return firmware.readFlash (address, length);
}

bool SimulatedDevice::isInUpdateMode() const noexcept
{
    return firmware.isInUpdateMode();
}

bool SimulatedDevice::waitUntilVanished (int timeoutMs) const
{
    return detached.wait (timeoutMs);
}

void SimulatedDevice::messageFromHost (const juce::MidiMessage& message)
{
    if (vanished)
        return;

    transcript.record (SimulatedTranscript::Direction::fromHost, message);

    const auto sentAgo = juce::Time::getMillisecondCounterHiRes() * 0.001 - message.getTimeStamp();

    if (link.receive ((size_t) message.getRawDataSize(), std::chrono::microseconds ((juce::int64) (sentAgo * 1.0e6))))
    {
        const auto request = SimulatedRequest::parse (message, firmware.getManufacturer());

        if (request.has_value() && firmware.accepts (*request))
            respond (*request);
    }

    transcript.markHandled();
}

void SimulatedDevice::hostPortsChanged (int openInputs, int openOutputs)
{
    firmware.hostPortsChanged (openInputs, openOutputs);
}

void SimulatedDevice::respond (const SimulatedRequest& request)
{
    const auto* fault = request.intact ? faults.next (request.command) : nullptr;
    const auto refused = fault != nullptr && fault->kind == SimulatedFault::Kind::errorReply;
    auto replies = refused ? std::vector<juce::MidiMessage>() : firmware.handle (request);

    if (fault != nullptr)
        replies = SimulatedFaultPlan::disturb (*fault, request.command, std::move (replies),
                                               firmware.getReplies(), firmware.isInUpdateMode());

    if (! replies.empty() && link.awaitReplyLatency())
        send (replies);

    if (fault != nullptr && fault->kind == SimulatedFault::Kind::vanishAfterReply)
        vanish();
}

void SimulatedDevice::send (const std::vector<juce::MidiMessage>& messages)
{
    for (const auto& message : messages)
    {
        if (! link.transmit ((size_t) message.getRawDataSize()))
            return;

        const juce::ScopedLock sl (connectionLock);

        if (connection == nullptr || vanished)
            return;

        transcript.record (SimulatedTranscript::Direction::toHost, message);
        connection->sendToHost (message);
    }
}

void SimulatedDevice::vanish()
{
    // Under the lock so that the destructor sees either no detacher or a started one.
    const juce::ScopedLock sl (connectionLock);

    if (vanished.exchange (true))
        return;

    detacher = std::thread ([this]
    {
        detach();
        detached.signal();
    });
}

void SimulatedDevice::detach()
{
    std::unique_ptr<VirtualEndpointConnection> leaving;

    {
        const juce::ScopedLock sl (connectionLock);
        leaving = std::move (connection);
    }

    // Destroying the connection waits for a delivery that is running, so not under the lock.
}
