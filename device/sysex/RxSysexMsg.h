#pragma once

#include "device/sysex/CZvArray.h"
#include "device/sysex/ISysexMessage.h"

namespace pex
{
    /** A received SysEx message whose data bytes are stored as they arrive.

        Feed it the message's bytes, F0 first; the F7 completes it and whatever follows
        is ignored. Its data is then read from a cursor that starts after the header.
        Filling and reading are not synchronised here: whoever shares a message
        between threads guards it.
    */
    class RxSysexMsg : public ISysexMessage
    {
    public:
        RxSysexMsg() = default;

        /** The payload length: the bytes stored after the header. */
        juce::uint32 GetLength() const override;
        juce::uint8 GetStatus() const override;
        void Append (const juce::uint8* bytes, juce::uint32 count) override;

        /** The first payload byte. */
        const juce::uint8* GetData() const override;
        bool IsComplete() const override;

        /** Copies count bytes from the cursor on; false when the stored bytes ran out first. */
        virtual bool Read (juce::uint8* dst, juce::uint32 count);

        /** The bytes ahead of the data: F0 and the manufacturer ID. */
        virtual juce::uint32 GetHeaderLength() const;

        /** Marks the message complete and moves the cursor to the first data byte.
            Throws SysexException (Incomplete) when the header is not all there.
        */
        virtual void Complete();

        juce::uint8 ReadByte();
        juce::uint16 ReadWord();
        juce::uint32 ReadDWord();

        /** Reads a zero-terminated text; the terminator is consumed, the text is cut
            to its first 1023 characters. Each byte is one Latin-1 character.
        */
        juce::String ReadString();

    protected:
        /** Stores one byte and notices a three-byte manufacturer ID. */
        void Store (juce::uint8 byte);
        void RemoveLastStored() noexcept;

        /** Adds count data bytes for the caller to write and returns the first of them;
            for data after the header only, which Store has already recognised.
        */
        juce::uint8* Extend (juce::uint32 count);
        juce::uint32 GetStoredCount() const noexcept;
        juce::uint8 GetStoredByte (juce::uint32 index) const noexcept;

    private:
        static constexpr juce::uint32 maxStringLength = 1023;

        juce::uint32 cursor = 0;
        juce::uint32 headerLength = 2;
        CZvArray<unsigned char> bytes;
        bool complete = false;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RxSysexMsg)
    };
}
