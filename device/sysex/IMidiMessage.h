#pragma once

#include <juce_core/juce_core.h>

namespace pex
{
    /** A MIDI message as a run of bytes, either being built or being received. */
    class IMidiMessage
    {
    public:
        /** The number of bytes GetData points at. */
        virtual juce::uint32 GetLength() const = 0;

        virtual juce::uint8 GetStatus() const = 0;

        virtual void Append (const juce::uint8* bytes, juce::uint32 count) = 0;

        virtual const juce::uint8* GetData() const = 0;

        virtual ~IMidiMessage() = default;
    };
}
