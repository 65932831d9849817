#include "sim/SimulatedFirmware.h"

#include "sim/SimulatedCommand.h"

namespace
{
    constexpr juce::uint8 anyDevice = 0x7F;
    constexpr size_t writeHeaderLength = 6;   // double word address, word length

    juce::uint32 bigEndianAt (const std::vector<juce::uint8>& bytes, size_t index, size_t count)
    {
        juce::uint32 value = 0;

        for (size_t i = 0; i < count; ++i)
            value = (value << 8) | bytes[index + i];

        return value;
    }
}

SimulatedFirmware::SimulatedFirmware (const SimulatedDeviceConfig& configToUse)
    : config (configToUse),
      manufacturer (SimulatedReplies::manufacturerOf (configToUse.brand)),
      replies (configToUse),
      flash (configToUse.memoryMap),
      updateMode (configToUse.startsInUpdateMode)
{
}

const SysexHeader& SimulatedFirmware::getManufacturer() const noexcept
{
    return manufacturer;
}

bool SimulatedFirmware::accepts (const SimulatedRequest& request) const noexcept
{
    const auto productId = updateMode ? config.updateProductId : config.productId;

    return ! awaitingReopen
        && (request.deviceId == anyDevice || request.deviceId == config.deviceId)
        && request.familyId == config.familyId
        && request.productId == productId;
}

std::vector<juce::MidiMessage> SimulatedFirmware::handle (const SimulatedRequest& request)
{
    if (! request.intact)
        return { refuse (request.command, SimulatedErrorCode::corruptData) };

    switch (request.command)
    {
        case SimulatedCommand::identityRequest:  return identify();
        case SimulatedCommand::versionRequest:   return { replies.versionReply (updateMode) };
        case SimulatedCommand::enterUpdateMode:  return enterUpdateMode();
        case SimulatedCommand::memoryMapRequest: return { replies.memoryMapReply (updateMode) };
        case SimulatedCommand::prepareWrite:     return prepareWrite();
        case SimulatedCommand::writeBlock:       return writeBlock (request);
        default:                                 return { refuse (request.command, SimulatedErrorCode::notImplemented) };
    }
}

void SimulatedFirmware::hostPortsChanged (int openInputs, int openOutputs) noexcept
{
    if (! awaitingReopen)
        return;

    if (openInputs == 0 || openOutputs == 0)
        hostClosedPorts = true;
    else if (hostClosedPorts)
        awaitingReopen = false;
}

bool SimulatedFirmware::isInUpdateMode() const noexcept
{
    return updateMode;
}

const SimulatedReplies& SimulatedFirmware::getReplies() const noexcept
{
    return replies;
}

std::vector<juce::uint8> SimulatedFirmware::readFlash (juce::uint32 address, juce::uint32 length) const
{
    return flash.read (address, length);
}

std::vector<juce::MidiMessage> SimulatedFirmware::identify() const
{
    const auto reply = replies.identityReply (updateMode);

    if (config.answersIdentityTwice)
        return { reply, reply };

    return { reply };
}

std::vector<juce::MidiMessage> SimulatedFirmware::enterUpdateMode()
{
    std::vector<juce::MidiMessage> answer;

    if (config.acknowledgesUpdateMode)
        answer.push_back (replies.ack (updateMode));

    if (! updateMode)
    {
        updateMode = true;
        writePrepared = false;
        awaitingReopen = config.needsReopenAfterUpdateMode;
        hostClosedPorts = false;
    }

    return answer;
}

std::vector<juce::MidiMessage> SimulatedFirmware::prepareWrite()
{
    if (! updateMode)
        return { refuse (SimulatedCommand::prepareWrite, SimulatedErrorCode::wrongMode) };

    writePrepared = true;
    return { replies.ack (updateMode) };
}

std::vector<juce::MidiMessage> SimulatedFirmware::writeBlock (const SimulatedRequest& request)
{
    const auto errorCode = checkWrite (request);

    if (errorCode >= 0)
        return { refuse (SimulatedCommand::writeBlock, (juce::uint8) errorCode) };

    const auto address = bigEndianAt (request.payload, 0, 4);
    flash.write (address, { request.payload.begin() + (std::ptrdiff_t) writeHeaderLength, request.payload.end() });
    return { replies.ack (updateMode) };
}

int SimulatedFirmware::checkWrite (const SimulatedRequest& request) const
{
    if (! updateMode || ! writePrepared)
        return SimulatedErrorCode::wrongMode;

    const auto& payload = request.payload;

    if (payload.size() < writeHeaderLength)
        return SimulatedErrorCode::invalidData;

    const auto address = bigEndianAt (payload, 0, 4);
    const auto length = bigEndianAt (payload, 4, 2);

    if (length != payload.size() - writeHeaderLength)
        return SimulatedErrorCode::invalidReceiveSize;

    if (length > config.memoryMap.blockSize)
        return SimulatedErrorCode::bufferOverrun;

    if (! flash.contains (address, length))
        return SimulatedErrorCode::outOfRange;

    return -1;
}

juce::MidiMessage SimulatedFirmware::refuse (juce::uint8 command, juce::uint8 errorCode) const
{
    return replies.errorReply (updateMode, command, errorCode);
}
