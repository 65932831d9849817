#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

/** A file that records, one line each, every MIDI message sent to or received from the
    devices and every status text the user was shown, so that a support person can see
    from it why an update failed:

        <milliseconds since the trace began> out|in <bytes in hexadecimal>
        <milliseconds since the trace began> status <text>

    Any thread: the worker that drives a device, the backend's MIDI input thread and
    the thread that reports status all write to it; writeLock keeps their lines whole
    and in the order they were written.
*/
class MidiTrace
{
public:
    /** Opens file as MidiTraceFile does: a regular file is emptied, a pipe written to,
        nothing is removed. isOpen() says whether it could be, getError() why not.
    */
    explicit MidiTrace (const juce::File& file);
    ~MidiTrace();

    bool isOpen() const noexcept { return stream != nullptr; }
    const juce::String& getError() const noexcept { return error; }

    void sent (const juce::MidiMessage& message);
    void received (const juce::MidiMessage& message);
    void status (const juce::String& text);

    /** The bytes of message as the trace writes them: upper-case pairs, space-separated. */
    static juce::String toHex (const juce::MidiMessage& message);

private:
    void write (const char* kind, const juce::String& text);

    const double startMs;
    juce::String error;

    juce::CriticalSection writeLock;
    std::unique_ptr<juce::OutputStream> stream;   // guarded by writeLock; gone once a write failed

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiTrace)
};
