#pragma once

/** How long the host waits for the reply to each request, in milliseconds.

    A default-made value holds the waits real devices need: erasing and writing flash,
    and the switch into update mode, take a device far longer than answering a question.
    Whoever makes a device passes the value it is to use; the program keeps the default.
*/
struct ReplyTimeouts
{
    int identity = 500;
    int secondIdentity = 500;
    int version = 1000;
    int enterUpdateMode = 8000;
    int memoryMap = 1000;
    int prepareWrite = 1000;
    int writeBlock = 8000;
};
