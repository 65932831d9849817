#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/SysexException.h"

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
        for (juce::uint32 i = 0; i < count && ! IsComplete(); ++i)
        {
            checksum ^= bytesToAdd[i];

            if (packed)
                takePackedByte (bytesToAdd[i]);
            else
                takePrefixByte (bytesToAdd[i]);
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

    void Super7RxSysexMsg::takePrefixByte (juce::uint8 byte)
    {
        Store (byte);
        packed = GetStoredCount() == GetHeaderLength();
    }

    void Super7RxSysexMsg::takePackedByte (juce::uint8 byte)
    {
        if (byte == endOfExclusive)
        {
            finish();
            return;
        }

        if (groupPos == 0)
        {
            highBits = byte;
        }
        else
        {
            highBits = (juce::uint8) (highBits << 1);
            Store ((juce::uint8) ((highBits & 0x80) | byte));
        }

        groupPos = (groupPos + 1) % 8;
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
