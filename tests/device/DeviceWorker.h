#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <string>

/** A worker thread that drives a device as the program's workers do, so that a test can
    tell it to exit in the middle. It keeps what the work threw (see devicetest::thrownBy).
*/
class DeviceWorker : public juce::Thread
{
public:
    explicit DeviceWorker (std::function<void()> workToDo);
    ~DeviceWorker() override;

    /** Waits (bounded, never reached in a passing run) for the work to end. */
    bool waitUntilDone();

    /** What the work threw; read after waitUntilDone returned true. */
    std::string getOutcome() const;

    void run() override;

private:
    const std::function<void()> work;
    std::string outcome;   // written by this thread before it ends, read by others after

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceWorker)
};
