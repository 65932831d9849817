#pragma once

#include "device/sysex/MidiException.h"

#include <juce_core/juce_core.h>

namespace pex
{
    /** What went wrong with a SysEx message. Other values than these may be carried. */
    enum class SysexErrorKind : juce::int32
    {
        Incomplete = 0,
        Corrupt = 1,
        InvalidHeader = 2,
        SystemError = 3
    };

    /** A SysEx message that could not be framed or verified. */
    class SysexException : public MidiException
    {
    public:
        explicit SysexException (SysexErrorKind kind) noexcept;

        SysexErrorKind GetKind() const noexcept { return kind; }

        /** The text of this error's kind. */
        virtual const char* GetDescription() const noexcept;

    private:
        SysexErrorKind kind;
    };
}
