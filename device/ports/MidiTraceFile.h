#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Opens the file a MidiTrace is written to, as the user named it: nothing there is
    ever removed or replaced. A regular file (or a symbolic link to one) is emptied and
    written; a pipe is written to as it is, for a program reading it; anything else (a
    folder, a device, a socket) is refused before it is opened, because opening a device
    can already act on it.
*/
struct MidiTraceFile
{
    /** The stream to write the trace to, or nullptr with why in error. Writes to a pipe
        wait while its reader is behind; once its reader has gone, they fail (the process
        must ignore SIGPIPE for that, or it ends).
    */
    static std::unique_ptr<juce::OutputStream> open (const juce::File& file, juce::String& error);
};
