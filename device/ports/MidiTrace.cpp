#include "device/ports/MidiTrace.h"

#include "device/ports/MidiTraceFile.h"

MidiTrace::MidiTrace (const juce::File& file)
    : startMs (juce::Time::getMillisecondCounterHiRes()),
      stream (MidiTraceFile::open (file, error))
{
}

MidiTrace::~MidiTrace() = default;

void MidiTrace::sent (const juce::MidiMessage& message)
{
    write ("out", toHex (message));
}

void MidiTrace::received (const juce::MidiMessage& message)
{
    write ("in", toHex (message));
}

void MidiTrace::status (const juce::String& text)
{
    // A text of several lines would be read as several entries.
    write ("status", text.replaceCharacters ("\r\n", "  "));
}

juce::String MidiTrace::toHex (const juce::MidiMessage& message)
{
    return juce::String::toHexString (message.getRawData(), message.getRawDataSize(), 1).toUpperCase();
}

void MidiTrace::write (const char* kind, const juce::String& text)
{
    const juce::ScopedLock lock (writeLock);

    // Taken under the lock, so that the times only ever go up from line to line.
    const auto elapsedMs = juce::roundToInt (juce::Time::getMillisecondCounterHiRes() - startMs);

    if (stream == nullptr)
        return;

    const auto line = juce::String (elapsedMs) + " " + kind + " " + text + "\n";

    // Written through at once, as one write: the trace is read most after a run that
    // went wrong, perhaps one that never ended, or read as it goes from a pipe. A pipe
    // whose reader has gone takes nothing more; the run goes on without its trace.
    if (stream->write (line.toRawUTF8(), line.getNumBytesAsUTF8()))
        stream->flush();
    else
        stream.reset();
}
