#pragma once

#include "device/sysex/SysexHeader.h"
#include "device/sysex/TxSysexMsg.h"

namespace pex
{
    /** A SysEx message being built in the Super7 form: F0, the manufacturer ID, the
        device, family and product IDs and the command as they are, then the payload
        packed so that 8-bit data travels in 7-bit bytes, then an XOR checksum and F7.

        Each group of up to seven payload bytes is preceded by a high-bits byte whose
        bit 6 holds bit 7 of the group's first byte, down to bit 0 for its seventh.
        Any split of the payload into Append calls gives the same message.
    */
    class Super7TxSysexMsg : public TxSysexMsg
    {
    public:
        explicit Super7TxSysexMsg (const SysexHeader& headerToUse);

        /** Packs the given payload bytes. */
        void Append (const juce::uint8* bytes, juce::uint32 count) override;

        /** F0, the manufacturer ID and the four prefix bytes. */
        juce::uint32 GetHeaderLength() const override;

        /** A capacity hint for a payload of size bytes. */
        void Reserve (juce::uint32 size) override;

        /** Appends the checksum, then F7. */
        void Complete() override;

        /** The header the message was built from: who it is addressed to, and its command. */
        const SysexHeader& GetHeader() const noexcept { return header; }

    private:
        static void packGroup (const juce::uint8* group, juce::uint32 size, juce::uint8* out) noexcept;

        static constexpr juce::uint32 prefixLength = 4;
        static constexpr juce::int32 groupSize = 7;

        const SysexHeader header;
        juce::int32 groupPos = 0;
        juce::uint32 groupStart = 0;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Super7TxSysexMsg)
    };
}
