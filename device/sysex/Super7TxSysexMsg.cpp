#include "device/sysex/Super7TxSysexMsg.h"

#include <limits>
#include <new>

namespace pex
{
    Super7TxSysexMsg::Super7TxSysexMsg (const SysexHeader& headerToUse)
        : TxSysexMsg (headerToUse.manufacturerId, headerToUse.extendedId != 0),
          header (headerToUse)
    {
        // Until the prefix is complete Append stores bytes unpacked.
        AppendByte (header.deviceId);
        AppendByte (header.familyId);
        AppendByte (header.productId);
        AppendByte (header.command);
    }

    void Super7TxSysexMsg::Append (const juce::uint8* bytesToAdd, juce::uint32 count)
    {
        if (GetLength() < GetHeaderLength())
        {
            Store (bytesToAdd, count);
            return;
        }

        // The whole run is packed straight into room made for it once: a block's
        // payload goes through here on every write request.
        const auto intoOpenGroup = groupPos == 0 ? 0 : juce::jmin (count, (juce::uint32) (groupSize - groupPos));
        const auto newGroups = ((juce::uint64) count - intoOpenGroup + groupSize - 1) / groupSize;
        const auto firstNew = GetLength();

        if (count + newGroups > (juce::uint64) std::numeric_limits<juce::int32>::max())
            throw std::bad_alloc();

        Extend ((juce::uint32) (count + newGroups));
        auto* stored = GetStoredBytes();
        auto* out = stored + firstNew;

        for (juce::uint32 i = 0; i < intoOpenGroup; ++i)
        {
            stored[groupStart] |= (juce::uint8) ((bytesToAdd[i] & 0x80) >> (groupPos + 1));
            *out++ = bytesToAdd[i] & 0x7F;
            ++groupPos;
        }

        groupPos %= groupSize;

        auto i = intoOpenGroup;

        for (; count - i >= (juce::uint32) groupSize; i += groupSize, out += groupSize + 1)
            packGroup (bytesToAdd + i, groupSize, out);

        if (i < count)
        {
            groupStart = (juce::uint32) (out - stored);
            packGroup (bytesToAdd + i, count - i, out);
            groupPos = (juce::int32) (count - i);
        }
    }

    void Super7TxSysexMsg::packGroup (const juce::uint8* group, juce::uint32 size, juce::uint8* out) noexcept
    {
        juce::uint8 highBits = 0;

        for (juce::uint32 k = 0; k < size; ++k)
        {
            highBits |= (juce::uint8) ((group[k] & 0x80) >> (k + 1));
            out[k + 1] = group[k] & 0x7F;
        }

        out[0] = highBits;
    }

    juce::uint32 Super7TxSysexMsg::GetHeaderLength() const
    {
        return TxSysexMsg::GetHeaderLength() + prefixLength;
    }

    void Super7TxSysexMsg::Reserve (juce::uint32 size)
    {
        const auto groups = ((juce::uint64) size + groupSize - 1) / groupSize;
        const auto total = 2 * (juce::uint64) size + groups + 5;
        TxSysexMsg::Reserve ((juce::uint32) juce::jmin (total, (juce::uint64) std::numeric_limits<juce::uint32>::max()));
    }

    void Super7TxSysexMsg::Complete()
    {
        const auto* stored = GetData();
        juce::uint8 checksum = 0;

        for (juce::uint32 i = 1; i < GetLength(); ++i)
            checksum ^= stored[i];

        const juce::uint8 checksumByte = checksum & 0x7F;
        Store (&checksumByte, 1);
        TxSysexMsg::Complete();
    }
}
