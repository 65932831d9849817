#include "device/sysex/Super7TxSysexMsg.h"

namespace pex
{
    Super7TxSysexMsg::Super7TxSysexMsg (const SysexHeader& header)
        : TxSysexMsg (header.manufacturerId, header.extendedId != 0)
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

        for (juce::uint32 i = 0; i < count; ++i)
            pack (bytesToAdd[i]);
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

    void Super7TxSysexMsg::pack (juce::uint8 byte)
    {
        if (groupPos == 0)
        {
            groupStart = GetLength();
            const juce::uint8 placeholder = 0x00;
            Store (&placeholder, 1);
        }

        if ((byte & 0x80) != 0)
            GetStoredBytes()[groupStart] |= (juce::uint8) (0x40 >> groupPos);

        const juce::uint8 low7Bits = byte & 0x7F;
        Store (&low7Bits, 1);
        groupPos = (groupPos + 1) % groupSize;
    }
}
