#pragma once

#include "device/ReplyTimeouts.h"

namespace devicetest
{
    /** Reply time-outs for tests that meet silence, so that they do not sit out the
        seconds a real device is given. The slowest answer a simulated device in such a
        test gives takes some 15 ms (an identity exchange at DIN MIDI speed); these
        leave over ten times that, for a sanitizer on a busy machine. The switch into
        update mode and a block write, long for a real device, stay the longer waits.
    */
    ReplyTimeouts shortReplyTimeouts();
}
