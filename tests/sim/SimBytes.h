#pragma once

#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/Super7TxSysexMsg.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/** Raw message helpers for the simulated device tests. */
namespace simbytes
{
    using Bytes = std::vector<juce::uint8>;

    inline juce::String hexOf (const juce::uint8* data, size_t size)
    {
        return juce::String::toHexString (data, (int) size).toUpperCase();
    }

    inline juce::String hexOf (const Bytes& bytes)
    {
        return hexOf (bytes.data(), bytes.size());
    }

    inline juce::String hexOf (const juce::MidiMessage& message)
    {
        return hexOf (message.getRawData(), (size_t) message.getRawDataSize());
    }

    /** The bytes of a dump written as hex pairs separated by spaces. */
    inline Bytes fromHex (const juce::String& hex)
    {
        Bytes bytes;

        for (const auto& pair : juce::StringArray::fromTokens (hex, " ", ""))
            bytes.push_back ((juce::uint8) pair.getHexValue32());

        return bytes;
    }

    /** A finished Super7 message: header, then payload packed, checksum and F7. */
    inline Bytes super7 (const SysexHeader& header, const Bytes& payload = {})
    {
        pex::Super7TxSysexMsg message (header);
        message.Append (payload.data(), (juce::uint32) payload.size());
        message.Complete();
        return Bytes (message.GetData(), message.GetData() + message.GetLength());
    }

    /** The command of a received Super7 message given as a hex dump. */
    inline juce::uint8 commandOf (const juce::String& hex)
    {
        const auto bytes = fromHex (hex);
        pex::Super7RxSysexMsg message;
        message.Append (bytes.data(), (juce::uint32) bytes.size());
        return message.GetCommand();
    }

    /** The payload of a received Super7 message given as a hex dump; throws
        pex::SysexException when it does not decode.
    */
    inline Bytes payloadOf (const juce::String& hex)
    {
        const auto bytes = fromHex (hex);
        pex::Super7RxSysexMsg message;
        message.Append (bytes.data(), (juce::uint32) bytes.size());
        return Bytes (message.GetData(), message.GetData() + message.GetLength());
    }
}
