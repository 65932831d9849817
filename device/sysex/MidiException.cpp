#include "device/sysex/MidiException.h"

namespace pex
{
    // Derived errors keep this text; their own texts come from GetDescription.
    const char* MidiException::what() const noexcept
    {
        return "MIDI exception";
    }
}
