#include "device/sysex/SysexException.h"

namespace pex
{
    SysexException::SysexException (SysexErrorKind kindToUse) noexcept
        : kind (kindToUse)
    {
    }

    const char* SysexException::GetDescription() const noexcept
    {
        switch (kind)
        {
            case SysexErrorKind::Incomplete:    return "MIDI SysEx message is incomplete";
            case SysexErrorKind::Corrupt:       return "MIDI SysEx message is corrupt";
            case SysexErrorKind::InvalidHeader: return "MIDI SysEx message contains an invalid header";
            case SysexErrorKind::SystemError:   return "The system reported an error in a SysEx message";
            default:                            return "MIDI SysEx exception";
        }
    }
}
