#include "tests/device/ShortReplyTimeouts.h"

namespace devicetest
{
    ReplyTimeouts shortReplyTimeouts()
    {
        constexpr int question = 250;
        constexpr int flashWork = 2 * question;

        ReplyTimeouts timeouts;
        timeouts.identity = question;
        timeouts.secondIdentity = question;
        timeouts.version = question;
        timeouts.enterUpdateMode = flashWork;
        timeouts.memoryMap = question;
        timeouts.prepareWrite = question;
        timeouts.writeBlock = flashWork;
        return timeouts;
    }
}
