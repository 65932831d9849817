#include "sim/SimulatedTranscript.h"

#include <chrono>

void SimulatedTranscript::record (Direction direction, const juce::MidiMessage& message)
{
    const auto* raw = message.getRawData();
    const std::lock_guard<std::mutex> guard (mutex);
    entries.push_back ({ direction, std::vector<juce::uint8> (raw, raw + message.getRawDataSize()) });
}

void SimulatedTranscript::markHandled()
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        ++handled;
    }

    handledChanged.notify_all();
}

std::vector<SimulatedTranscript::Entry> SimulatedTranscript::getEntries() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return entries;
}

std::vector<std::vector<juce::uint8>> SimulatedTranscript::getMessages (Direction direction) const
{
    const std::lock_guard<std::mutex> guard (mutex);
    std::vector<std::vector<juce::uint8>> messages;

    for (const auto& entry : entries)
        if (entry.direction == direction)
            messages.push_back (entry.bytes);

    return messages;
}

int SimulatedTranscript::getHandledCount() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return handled;
}

bool SimulatedTranscript::waitUntilHandled (int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return handledChanged.wait_for (lock, std::chrono::milliseconds (timeoutMs), [this, count] { return handled >= count; });
}
