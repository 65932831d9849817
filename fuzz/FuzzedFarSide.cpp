#include "fuzz/FuzzedFarSide.h"

#include "device/DeviceCommand.h"
#include "device/sysex/Super7TxSysexMsg.h"
#include "sim/SimulatedReplies.h"

FuzzedFarSide::FuzzedFarSide (VirtualMidiPortSystem& ports, const juce::String& portName,
                              const SysexHeader& header, bool twice, FuzzInput scriptToPlay)
    : replyHeader (header),
      answersIdentityTwice (twice),
      script (std::move (scriptToPlay)),
      connection (ports.attach (portName, *this))
{
}

FuzzedFarSide::~FuzzedFarSide()
{
    std::unique_ptr<VirtualEndpointConnection> leaving;

    {
        const std::lock_guard<std::mutex> guard (connectionLock);
        leaving = std::move (connection);
    }

    // Destroyed outside the lock: it waits for a delivery that may be waiting for the lock.
}

void FuzzedFarSide::messageFromHost (const juce::MidiMessage& message)
{
    // A second byte of 00 starts a three-byte manufacturer ID; the product ID precedes the command.
    const auto* raw = message.getRawData();
    const auto productIndex = message.getRawDataSize() > 1 && raw[1] == 0 ? 6 : 4;
    requestProductId = message.getRawDataSize() > productIndex ? raw[productIndex] : replyHeader.productId;

    const auto answers = answersTo (SimulatedReplies::commandOf (message));

    // Sending does not wait for the host, so it may happen under the lock.
    const std::lock_guard<std::mutex> guard (connectionLock);

    if (connection != nullptr)
        for (const auto& answer : answers)
            connection->sendToHost (answer);
}

std::vector<juce::MidiMessage> FuzzedFarSide::answersTo (juce::uint8 request)
{
    const auto kind = script.byte() % 5;
    std::vector<juce::MidiMessage> answers;

    if (kind == 4)
    {
        answers.push_back (answerOfKind (script.byte() % 4, request));
        answers.push_back (answerOfKind (script.byte() % 4, request));
    }
    else
    {
        answers.push_back (answerOfKind (kind, request));
    }

    // The host waits for the second identity answer of such a device.
    if (answersIdentityTwice && request == DeviceCommand::IdentityRequest && answers.size() < 2)
        answers.push_back (answers.front());

    return answers;
}

juce::MidiMessage FuzzedFarSide::answerOfKind (int kind, juce::uint8 request)
{
    switch (kind)
    {
        case 0: return reply (expectedReplyTo (request), script.counted());
        case 1: return reply (DeviceCommand::ErrorReply, script.bytes (2));
        case 2:
        {
            const auto command = (juce::uint8) (script.byte() & 0x7F);
            return reply (command, script.counted());
        }
        default:
        {
            auto raw = script.counted();
            raw.insert (raw.begin(), 0xF0);
            raw.push_back (0xF7);
            return juce::MidiMessage (raw.data(), (int) raw.size());
        }
    }
}

juce::MidiMessage FuzzedFarSide::reply (juce::uint8 command, const FuzzInput::Bytes& payload) const
{
    auto header = replyHeader;
    header.productId = requestProductId;
    header.command = command;

    pex::Super7TxSysexMsg message (header);
    message.Append (payload.data(), (juce::uint32) payload.size());
    message.Complete();
    return juce::MidiMessage (message.GetData(), (int) message.GetLength());
}

juce::uint8 FuzzedFarSide::expectedReplyTo (juce::uint8 request) noexcept
{
    switch (request)
    {
        case DeviceCommand::IdentityRequest:  return DeviceCommand::IdentityReply;
        case DeviceCommand::VersionRequest:   return DeviceCommand::VersionReply;
        case DeviceCommand::MemoryMapRequest: return DeviceCommand::MemoryMapReply;
        default:                              return DeviceCommand::Ack;
    }
}
