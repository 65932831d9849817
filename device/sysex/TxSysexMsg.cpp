#include "device/sysex/TxSysexMsg.h"

namespace pex
{
    TxSysexMsg::TxSysexMsg (juce::uint16 manufacturerId, bool extendedId)
        : headerLength (extendedId ? 4u : 2u)
    {
        bytes.Add (0xF0);

        if (extendedId)
        {
            bytes.Add (0x00);
            bytes.Add ((juce::uint8) (manufacturerId >> 8));
        }

        bytes.Add ((juce::uint8) (manufacturerId & 0xFF));
    }

    juce::uint32 TxSysexMsg::GetLength() const
    {
        return (juce::uint32) bytes.GetCount();
    }

    juce::uint8 TxSysexMsg::GetStatus() const
    {
        return 0xF0;
    }

    void TxSysexMsg::Append (const juce::uint8* bytesToAdd, juce::uint32 count)
    {
        Store (bytesToAdd, count);
    }

    const juce::uint8* TxSysexMsg::GetData() const
    {
        return bytes.GetData();
    }

    bool TxSysexMsg::IsComplete() const
    {
        return complete;
    }

    juce::uint32 TxSysexMsg::GetHeaderLength() const
    {
        return headerLength;
    }

    void TxSysexMsg::Reserve (juce::uint32 size)
    {
        bytes.Reserve (size);
    }

    void TxSysexMsg::Complete()
    {
        bytes.Add (0xF7);
        complete = true;
    }

    void TxSysexMsg::AppendByte (juce::uint8 value)
    {
        Append (&value, 1);
    }

    void TxSysexMsg::AppendWord (juce::uint16 value)
    {
        const juce::uint8 word[] = { (juce::uint8) (value >> 8), (juce::uint8) value };
        Append (word, 2);
    }

    void TxSysexMsg::AppendDWord (juce::uint32 value)
    {
        const juce::uint8 dword[] = { (juce::uint8) (value >> 24), (juce::uint8) (value >> 16),
                                      (juce::uint8) (value >> 8), (juce::uint8) value };
        Append (dword, 4);
    }

    void TxSysexMsg::Store (const juce::uint8* bytesToStore, juce::uint32 count)
    {
        if (count > (juce::uint32) std::numeric_limits<juce::int32>::max())
            throw std::bad_alloc();

        bytes.Append (bytesToStore, (juce::int32) count);
    }

    juce::uint8* TxSysexMsg::Extend (juce::uint32 count)
    {
        if (count > (juce::uint32) std::numeric_limits<juce::int32>::max())
            throw std::bad_alloc();

        return bytes.Extend ((juce::int32) count);
    }

    juce::uint8* TxSysexMsg::GetStoredBytes() noexcept
    {
        return bytes.GetData();
    }
}
