#pragma once

#include "device/sysex/RxSysexMsg.h"
#include "device/sysex/SysexHeader.h"

namespace pex
{
    /** A received SysEx message in the Super7 form: four plain prefix bytes (device,
        family and product IDs, command), then 8-bit data carried in groups of one
        high-bits byte and up to seven 7-bit bytes, then an XOR checksum and F7.

        Append unpacks the data as it arrives and verifies the checksum at the F7,
        throwing SysexException (Corrupt) when it fails. The payload read afterwards
        is the unpacked data, without the checksum.
    */
    class Super7RxSysexMsg : public RxSysexMsg
    {
    public:
        Super7RxSysexMsg() = default;

        void Append (const juce::uint8* bytes, juce::uint32 count) override;

        /** F0, the manufacturer ID and the four prefix bytes. */
        juce::uint32 GetHeaderLength() const override;

        /** The received command byte. Throws SysexException (InvalidHeader) when the
            prefix was not all received.
        */
        juce::uint8 GetCommand() const;

        /** False when the manufacturer, family or product ID received differs from
            sender's: the message comes from another device. IDs the message ended before
            are not compared, nor are the device ID (a device is addressed as 7F until it
            has said its own) and the command. Also usable on a message whose Append threw.
        */
        bool IsFrom (const SysexHeader& sender) const;

    private:
        void takePrefixByte (juce::uint8 byte);
        void unpack (const juce::uint8* run, juce::uint32 count);
        juce::uint8* unpackOne (juce::uint8 byte, juce::uint8* out);
        void finish();

        static constexpr juce::uint32 prefixLength = 4;

        bool packed = false;
        juce::int32 groupPos = 0;
        juce::uint8 highBits = 0;
        juce::uint8 checksum = 0;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Super7RxSysexMsg)
    };
}
