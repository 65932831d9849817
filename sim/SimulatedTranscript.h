#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <condition_variable>
#include <mutex>
#include <vector>

/** Every message a simulated device heard and sent, raw bytes in order, and how many
    of the heard ones it has finished with. The device records on its delivery thread;
    tests read and wait on any thread.
*/
class SimulatedTranscript
{
public:
    enum class Direction
    {
        fromHost,
        toHost
    };

    struct Entry
    {
        Direction direction;
        std::vector<juce::uint8> bytes;
    };

    void record (Direction direction, const juce::MidiMessage& message);

    /** Says that the device is done with one more message from the host: whatever it
        answers to it has been recorded (and sent) before.
    */
    void markHandled();

    std::vector<Entry> getEntries() const;

    /** The raw bytes of every message in one direction, in order. */
    std::vector<std::vector<juce::uint8>> getMessages (Direction direction) const;

    int getHandledCount() const;

    /** Waits until count messages from the host have been handled; false when timeoutMs
        passed first.
    */
    bool waitUntilHandled (int count, int timeoutMs) const;

private:
    mutable std::mutex mutex;   // guards entries and handled
    mutable std::condition_variable handledChanged;
    std::vector<Entry> entries;
    int handled = 0;
};
