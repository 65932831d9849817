#include "device/sysex/RxSysexMsg.h"
#include "device/sysex/SysexException.h"

#include <cstring>
#include <limits>
#include <new>

namespace pex
{
    namespace
    {
        constexpr juce::uint8 endOfExclusive = 0xF7;
    }

    juce::uint32 RxSysexMsg::GetLength() const
    {
        // A message cut short inside its header has no payload, not a wrapped-around length.
        return GetStoredCount() - juce::jmin (GetHeaderLength(), GetStoredCount());
    }

    juce::uint8 RxSysexMsg::GetStatus() const
    {
        return 0xF0;
    }

    void RxSysexMsg::Append (const juce::uint8* bytesToAdd, juce::uint32 count)
    {
        for (juce::uint32 i = 0; i < count && ! complete; ++i)
        {
            if (bytesToAdd[i] == endOfExclusive)
                Complete();
            else
                Store (bytesToAdd[i]);
        }
    }

    const juce::uint8* RxSysexMsg::GetData() const
    {
        return bytes.GetData() + juce::jmin (GetHeaderLength(), GetStoredCount());
    }

    bool RxSysexMsg::IsComplete() const
    {
        return complete;
    }

    bool RxSysexMsg::Read (juce::uint8* dst, juce::uint32 count)
    {
        const auto available = juce::jmin (count, GetStoredCount() - juce::jmin (cursor, GetStoredCount()));

        if (available > 0)
            std::memcpy (dst, bytes.GetData() + cursor, available);

        cursor += available;
        return available == count;
    }

    juce::uint32 RxSysexMsg::GetHeaderLength() const
    {
        return headerLength;
    }

    void RxSysexMsg::Complete()
    {
        complete = true;
        cursor = GetHeaderLength();

        if (cursor > GetStoredCount())
            throw SysexException (SysexErrorKind::Incomplete);
    }

    // Bytes missing at the end of the payload read as zero.
    juce::uint8 RxSysexMsg::ReadByte()
    {
        juce::uint8 value[1] = {};
        Read (value, 1);
        return value[0];
    }

    juce::uint16 RxSysexMsg::ReadWord()
    {
        juce::uint8 value[2] = {};
        Read (value, 2);
        return juce::ByteOrder::bigEndianShort (value);
    }

    juce::uint32 RxSysexMsg::ReadDWord()
    {
        juce::uint8 value[4] = {};
        Read (value, 4);
        return juce::ByteOrder::bigEndianInt (value);
    }

    juce::String RxSysexMsg::ReadString()
    {
        juce::String text;
        juce::uint32 length = 0;
        juce::uint8 byte = 0;

        while (Read (&byte, 1) && byte != 0)
            if (length++ < maxStringLength)
                text += juce::String::charToString ((juce::juce_wchar) byte);

        return text;
    }

    void RxSysexMsg::Store (juce::uint8 byte)
    {
        bytes.Add (byte);

        if (bytes.GetCount() >= 4 && bytes[1] == 0x00)
            headerLength = 4;
    }

    juce::uint8* RxSysexMsg::Extend (juce::uint32 count)
    {
        if (count > (juce::uint32) std::numeric_limits<juce::int32>::max())
            throw std::bad_alloc();

        return bytes.Extend ((juce::int32) count);
    }

    void RxSysexMsg::RemoveLastStored() noexcept
    {
        bytes.RemoveLast();
    }

    juce::uint32 RxSysexMsg::GetStoredCount() const noexcept
    {
        return (juce::uint32) bytes.GetCount();
    }

    juce::uint8 RxSysexMsg::GetStoredByte (juce::uint32 index) const noexcept
    {
        return bytes[(juce::int32) index];
    }
}
