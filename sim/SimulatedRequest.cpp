#include "sim/SimulatedRequest.h"

#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/SysexException.h"

namespace
{
    constexpr juce::uint8 startOfExclusive = 0xF0;
    constexpr juce::uint8 endOfExclusive = 0xF7;
    constexpr int prefixLength = 4;

    /** Where the prefix starts when message carries this manufacturer's ID, else 0. */
    int prefixOffset (const juce::uint8* raw, int size, const SysexHeader& manufacturer)
    {
        const auto high = (juce::uint8) (manufacturer.manufacturerId >> 8);
        const auto low = (juce::uint8) (manufacturer.manufacturerId & 0xFF);

        if (manufacturer.extendedId != 0)
            return size >= 4 && raw[1] == 0 && raw[2] == high && raw[3] == low ? 4 : 0;

        return size >= 2 && low != 0 && raw[1] == low ? 2 : 0;
    }
}

std::optional<SimulatedRequest> SimulatedRequest::parse (const juce::MidiMessage& message, const SysexHeader& manufacturer)
{
    const auto* raw = message.getRawData();
    const auto size = message.getRawDataSize();

    if (size < 2 || raw[0] != startOfExclusive || raw[size - 1] != endOfExclusive)
        return std::nullopt;

    const auto offset = prefixOffset (raw, size, manufacturer);

    // The prefix must lie wholly ahead of the F7.
    if (offset == 0 || size < offset + prefixLength + 1)
        return std::nullopt;

    SimulatedRequest request;
    request.deviceId = raw[offset];
    request.familyId = raw[offset + 1];
    request.productId = raw[offset + 2];
    request.command = raw[offset + 3];

    try
    {
        pex::Super7RxSysexMsg received;
        received.Append (raw, (juce::uint32) size);
        request.intact = received.IsComplete();

        if (request.intact)
            request.payload.assign (received.GetData(), received.GetData() + received.GetLength());
    }
    catch (const pex::SysexException&)
    {
        request.intact = false;
    }

    return request;
}
