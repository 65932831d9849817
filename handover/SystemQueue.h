#pragma once

namespace juce
{
    /** JUCE's own step of its message loop, defined on Linux and Windows alike but not
        declared in its headers. With false it waits in the event loop for the next event,
        dispatches it and returns; with true it dispatches what is pending, if anything,
        and returns at once. Message thread.
    */
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}
