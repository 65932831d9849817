#pragma once

#include "device/sysex/IMidiMessage.h"

namespace pex
{
    /** A System Exclusive message: framed by F0 and F7. */
    class ISysexMessage : public IMidiMessage
    {
    public:
        /** True once the closing F7 has been received or appended. */
        virtual bool IsComplete() const = 0;
    };
}
