#pragma once

/** How long the host waits for the reply to each request, in milliseconds. Erasing and
    writing flash, and the switch into update mode, take the device far longer than
    answering a question.
*/
struct ReplyTimeout
{
    static constexpr int identity = 500;
    static constexpr int secondIdentity = 500;
    static constexpr int version = 1000;
    static constexpr int enterUpdateMode = 8000;
    static constexpr int memoryMap = 1000;
    static constexpr int prepareWrite = 1000;
    static constexpr int writeBlock = 8000;
};
