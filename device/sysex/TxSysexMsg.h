#pragma once

#include "device/sysex/CZvArray.h"
#include "device/sysex/ISysexMessage.h"

namespace pex
{
    /** A SysEx message being built for sending: F0, the manufacturer ID, the appended
        bytes unchanged and, once completed, F7. GetData and GetLength give the whole
        message as it goes on the wire.

        Complete is called once, after the last append.
    */
    class TxSysexMsg : public ISysexMessage
    {
    public:
        /** Starts the message with F0 and the manufacturer ID: three bytes (00, high,
            low) when extendedId is true, else its low byte alone.
        */
        TxSysexMsg (juce::uint16 manufacturerId, bool extendedId);

        /** The number of bytes stored: the whole message so far. */
        juce::uint32 GetLength() const override;
        juce::uint8 GetStatus() const override;
        void Append (const juce::uint8* bytes, juce::uint32 count) override;

        /** The first byte of the message, its F0. */
        const juce::uint8* GetData() const override;
        bool IsComplete() const override;

        virtual juce::uint32 GetHeaderLength() const;

        /** A capacity hint: room for at least size bytes. */
        virtual void Reserve (juce::uint32 size);

        /** Appends F7 and marks the message complete. */
        virtual void Complete();

        void AppendByte (juce::uint8 value);
        void AppendWord (juce::uint16 value);
        void AppendDWord (juce::uint32 value);

    protected:
        /** Stores bytes as they are, whatever form the message has. */
        void Store (const juce::uint8* bytesToStore, juce::uint32 count);
        juce::uint8* GetStoredBytes() noexcept;

        /** Adds count bytes for the caller to write and returns the first of them;
            pointers into the stored bytes taken before are stale afterwards.
        */
        juce::uint8* Extend (juce::uint32 count);

    private:
        CZvArray<unsigned char> bytes;
        juce::uint32 headerLength;
        bool complete = false;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TxSysexMsg)
    };
}
