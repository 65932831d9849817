#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

/** What a receiver under test heard, and on which threads: the receiver calls record
    on its delivery thread, the test reads and waits on its own.
*/
class CallRecorder
{
public:
    /** Counts the call as late when markClosed came first, runs duringCall, then keeps
        event and the calling thread.
    */
    void record (const juce::String& event);

    /** Waits until count calls have been recorded; the bound is never reached in a passing run. */
    bool waitForCalls (int count) const;

    juce::StringArray getEvents() const;

    /** The events so far, joined by "|". */
    juce::String getEventLog() const;
    std::vector<juce::Thread::ThreadID> getThreads() const;

    /** Says that the receiver's port has been closed: any call from now on is late. */
    void markClosed();
    int getLateCalls() const;
    bool isCallRunning() const;

    /** Runs inside every call, before it is recorded. Set it before calls can arrive. */
    std::function<void()> duringCall;

private:
    mutable std::mutex mutex; // guards events and threads
    mutable std::condition_variable eventRecorded;
    juce::StringArray events;
    std::vector<juce::Thread::ThreadID> threads;

    std::atomic<bool> closed { false };
    std::atomic<int> lateCalls { 0 };
    std::atomic<int> runningCalls { 0 };
};
