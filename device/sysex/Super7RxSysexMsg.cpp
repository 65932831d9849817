#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/SysexException.h"

#include <cstring>

namespace pex
{
    namespace
    {
        constexpr juce::uint8 endOfExclusive = 0xF7;

        // The running XOR includes F0 and F7, so an intact message leaves exactly their XOR.
        constexpr juce::uint8 intactChecksum = 0xF0 ^ endOfExclusive;
    }

    void Super7RxSysexMsg::Append (const juce::uint8* bytesToAdd, juce::uint32 count)
    {
        juce::uint32 i = 0;

        for (; i < count && ! packed && ! IsComplete(); ++i)
        {
            checksum ^= bytesToAdd[i];
            takePrefixByte (bytesToAdd[i]);
        }

        if (i == count || IsComplete())
            return;

        const auto* run = bytesToAdd + i;
        const auto* end = static_cast<const juce::uint8*> (std::memchr (run, endOfExclusive, count - i));
        unpack (run, (juce::uint32) ((end != nullptr ? end : bytesToAdd + count) - run));

        if (end != nullptr)
        {
            checksum ^= endOfExclusive;
            finish();
        }
    }

    juce::uint32 Super7RxSysexMsg::GetHeaderLength() const
    {
        return RxSysexMsg::GetHeaderLength() + prefixLength;
    }

    juce::uint8 Super7RxSysexMsg::GetCommand() const
    {
        if (GetStoredCount() < GetHeaderLength())
            throw SysexException (SysexErrorKind::InvalidHeader);

        return GetStoredByte (GetHeaderLength() - 1);
    }

    bool Super7RxSysexMsg::IsFrom (const SysexHeader& sender) const
    {
        // The sender's header as it would be on the wire, F0 first; compared byte by byte,
        // a manufacturer ID of the other form differs as well.
        juce::uint8 expected[8] = { 0xF0 };
        juce::uint32 length = 1;

        if (sender.extendedId != 0)
        {
            expected[length++] = 0x00;
            expected[length++] = (juce::uint8) (sender.manufacturerId >> 8);
        }

        expected[length++] = (juce::uint8) (sender.manufacturerId & 0xFF);
        const auto deviceIdIndex = length++;
        expected[length++] = sender.familyId;
        expected[length++] = sender.productId;

        // An F7 inside the prefix ended the message and was stored as data: it names nobody.
        auto received = GetStoredCount();

        if (! packed && received > 0 && GetStoredByte (received - 1) == endOfExclusive)
            --received;

        for (juce::uint32 i = 1; i < juce::jmin (received, length); ++i)
            if (i != deviceIdIndex && GetStoredByte (i) != expected[i])
                return false;

        return true;
    }

    void Super7RxSysexMsg::takePrefixByte (juce::uint8 byte)
    {
        Store (byte);
        packed = GetStoredCount() == GetHeaderLength();
    }

    void Super7RxSysexMsg::unpack (const juce::uint8* run, juce::uint32 count)
    {
        for (juce::uint32 i = 0; i < count; ++i)
            checksum ^= run[i];

        // Every eighth byte, from wherever the current group stands, is a high-bits
        // byte and stores nothing; room for the rest is made once.
        const auto toFirstHighBits = (juce::uint32) ((8 - groupPos) % 8);
        const auto highBitsBytes = count > toFirstHighBits ? (count - toFirstHighBits - 1) / 8 + 1 : 0;
        auto* out = Extend (count - highBitsBytes);
        juce::uint32 i = 0;

        for (; i < count && groupPos != 0; ++i)
            out = unpackOne (run[i], out);

        for (; count - i >= 8; i += 8, out += 7)
            for (int k = 0; k < 7; ++k)
                out[k] = (juce::uint8) (((run[i] << (k + 1)) & 0x80) | run[i + 1 + (juce::uint32) k]);

        for (; i < count; ++i)
            out = unpackOne (run[i], out);
    }

    juce::uint8* Super7RxSysexMsg::unpackOne (juce::uint8 byte, juce::uint8* out)
    {
        if (groupPos == 0)
        {
            highBits = byte;
        }
        else
        {
            highBits = (juce::uint8) (highBits << 1);
            *out++ = (juce::uint8) ((highBits & 0x80) | byte);
        }

        groupPos = (groupPos + 1) % 8;
        return out;
    }

    void Super7RxSysexMsg::finish()
    {
        // At group position 1 the checksum stood where a high-bits byte would and was not stored.
        if (groupPos != 1)
            RemoveLastStored();

        if (checksum != intactChecksum)
            throw SysexException (SysexErrorKind::Corrupt);

        Complete();
    }
}
