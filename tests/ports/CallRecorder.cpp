#include "tests/ports/CallRecorder.h"

#include <chrono>

void CallRecorder::record (const juce::String& event)
{
    if (closed)
        ++lateCalls;

    ++runningCalls;

    if (duringCall)
        duringCall();

    {
        const std::lock_guard<std::mutex> lock (mutex);
        events.add (event);
        threads.push_back (juce::Thread::getCurrentThreadId());
    }

    eventRecorded.notify_all();
    --runningCalls;
}

bool CallRecorder::waitForCalls (int count) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return eventRecorded.wait_for (lock, std::chrono::seconds (5), [this, count] { return events.size() >= count; });
}

juce::StringArray CallRecorder::getEvents() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return events;
}

juce::String CallRecorder::getEventLog() const
{
    return getEvents().joinIntoString ("|");
}

std::vector<juce::Thread::ThreadID> CallRecorder::getThreads() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return threads;
}

void CallRecorder::markClosed()
{
    closed = true;
}

int CallRecorder::getLateCalls() const
{
    return lateCalls;
}

bool CallRecorder::isCallRunning() const
{
    return runningCalls > 0;
}
