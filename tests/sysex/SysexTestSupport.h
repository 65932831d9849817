#pragma once

#include "device/sysex/IMidiMessage.h"
#include "device/sysex/RxSysexMsg.h"
#include "device/sysex/SysexException.h"
#include "device/sysex/SysexHeader.h"
#include "device/sysex/Super7TxSysexMsg.h"

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace sysextest
{
    using Bytes = std::vector<juce::uint8>;

    inline Bytes bytesOf (const pex::IMidiMessage& message)
    {
        return Bytes (message.GetData(), message.GetData() + message.GetLength());
    }

    /** Upper-case hex bytes separated by spaces, as wire dumps are usually written. */
    inline std::string hexOf (const Bytes& bytes)
    {
        if (bytes.empty())
            return {};

        return juce::String::toHexString (bytes.data(), (int) bytes.size()).toUpperCase().toStdString();
    }

    inline std::string hexOf (const pex::IMidiMessage& message)
    {
        return hexOf (bytesOf (message));
    }

    inline void appendAll (pex::IMidiMessage& message, const Bytes& bytes)
    {
        message.Append (bytes.data(), (juce::uint32) bytes.size());
    }

    inline Bytes readAll (pex::RxSysexMsg& message)
    {
        Bytes payload (message.GetLength());
        message.Read (payload.data(), (juce::uint32) payload.size());
        return payload;
    }

    inline SysexHeader makeHeader (juce::uint16 manufacturerId, bool extendedId, juce::uint8 deviceId,
                                   juce::uint8 familyId, juce::uint8 productId, juce::uint8 command)
    {
        SysexHeader header;
        header.manufacturerId = manufacturerId;
        header.extendedId = extendedId ? 1 : 0;
        header.deviceId = deviceId;
        header.familyId = familyId;
        header.productId = productId;
        header.command = command;
        return header;
    }

    inline Bytes randomBytes (std::mt19937& random, size_t length)
    {
        Bytes bytes (length);

        for (auto& b : bytes)
            b = (juce::uint8) random();

        return bytes;
    }

    /** Builds a Super7 message with the payload appended in pieces of random sizes. */
    inline Bytes sendInPieces (const SysexHeader& header, const Bytes& payload, std::mt19937& random)
    {
        pex::Super7TxSysexMsg message (header);

        for (size_t start = 0; start < payload.size();)
        {
            const auto size = juce::jmin ((size_t) random() % 12, payload.size() - start);
            message.Append (payload.data() + start, (juce::uint32) size);
            start += size;
        }

        message.Complete();
        return bytesOf (message);
    }

    /** The kind of SysexException the action throws, or nothing when it throws none. */
    inline std::optional<pex::SysexErrorKind> sysexErrorOf (const std::function<void()>& action)
    {
        try
        {
            action();
        }
        catch (const pex::SysexException& e)
        {
            return e.GetKind();
        }

        return std::nullopt;
    }
}
