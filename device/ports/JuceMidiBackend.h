#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** Every use of JUCE's MIDI devices, from listing to closing, for the whole process.

    JUCE 7's ALSA backend keeps one sequencer client for the process: it makes it on the
    first listing or opening and destroys it when the last port closes, without a lock.
    Two threads that list, open or close at once could make two clients, or use the one
    being destroyed. So each of these calls holds one lock for the process.

    Its input thread is told to end when the last input stops, and starting an input
    while that thread is still in its poll (JUCE polls for 100 ms) does not start it
    again: the thread ends and the new input is never read. When an input starts while
    none runs, the client has outlived the last stop (another port kept it) and that
    stop was recent, the start waits until the ending thread has had time to leave.

    Every output also sends through that one client's handle, and JUCE writes each
    message through it without a lock: two workers sending at once, each to its own
    device, would race on it. So each message is written under a second lock for the
    process, held for that write alone, so that a listing or an opening on another
    thread does not hold up a device's exchange.

    Any thread; a port's own calls come from one thread at a time.
*/
class JuceMidiBackend
{
public:
    static juce::Array<juce::MidiDeviceInfo> getInputs();
    static juce::Array<juce::MidiDeviceInfo> getOutputs();

    static std::unique_ptr<juce::MidiInput> openInput (const juce::String& identifier, juce::MidiInputCallback& callback);
    static std::unique_ptr<juce::MidiOutput> openOutput (const juce::String& identifier);

    /** Starts or stops an open input; each call must change its state. */
    static void start (juce::MidiInput& input);
    static void stop (juce::MidiInput& input);

    /** Sends message through an open output now. */
    static void send (juce::MidiOutput& output, const juce::MidiMessage& message);

    /** Closes a port (a stopped input). */
    static void close (std::unique_ptr<juce::MidiInput> input);
    static void close (std::unique_ptr<juce::MidiOutput> output);

    /** How long after the last input stopped JUCE's input thread may still be ending. */
    static constexpr int inputThreadEndMs = 250;

private:
    class State;
    static State& getState();
};
