#pragma once

#include <memory>
#include <vector>
#include <juce_core/juce_core.h>

/** Keeps the workers that did not end in time, with what they borrow, until they end.

    A worker is never killed: a killed thread may die holding a lock or half-way through
    a message to a device, and it dies only at its next cancellation point, by which
    time its object may be gone. Nor may its object be destroyed while its thread runs.
    So the wizard, once it has told such a worker to exit and given up reading its
    results, hands it over here; the worker and whatever it borrows (its catalogue, its
    device, its image) stay alive until its thread has ended. Message thread only.
*/
class UnfinishedWorkers
{
public:
    UnfinishedWorkers() = default;

    /** Waits for every worker kept; each has been told to exit, and every wait of a
        worker wakes up soon after that.
    */
    ~UnfinishedWorkers();

    /** Keeps worker, which has been told to exit, and then what it borrows, until it
        has ended. Workers that have ended meanwhile are let go.
    */
    void keep (std::unique_ptr<juce::Thread> worker, std::shared_ptr<void> borrowed);

    /** How many kept workers are still running; lets go of those that have ended. */
    int countRunning();

private:
    struct Kept
    {
        // Declared first so that it goes last, after the worker that uses it.
        std::shared_ptr<void> borrowed;
        std::unique_ptr<juce::Thread> worker;
    };

    void letGoOfEnded();

    std::vector<Kept> kept;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UnfinishedWorkers)
};
