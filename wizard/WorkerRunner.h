#pragma once

#include <memory>
#include <juce_gui_basics/juce_gui_basics.h>

#include "wizard/UnfinishedWorkers.h"
#include "handover/WorkerTimeouts.h"

/** Runs each long step of the wizard on its worker while the step's page sits in its
    modal loop, and makes sure no worker is killed or outlived by what it uses.

    The page must have entered its modal state before the worker was made, so that a
    worker that finishes at once cannot lose its end of that state. Message thread only.
*/
class WorkerRunner
{
public:
    WorkerRunner() = default;

    /** Starts worker and runs page's modal loop until the worker or the user (Cancel)
        ends it, or the application quits; then gives the worker graceMs to end.

        Returns the page's modal result once the worker has ended. Returns 0 when the
        application is quitting, and also when the worker did not end in time: it is then
        told to exit and kept, with borrowed (what it uses that its caller would
        otherwise destroy), until it ends; worker is then null and its results are lost.
    */
    template <typename Worker>
    int run (std::unique_ptr<Worker>& worker, juce::Component& page, std::shared_ptr<void> borrowed = {})
    {
        const int result = runModalLoop (*worker, page);

        if (worker->waitForThreadToExit (WorkerTimeouts::graceMs))
            return isQuitting() ? 0 : result;

        worker->signalThreadShouldExit();
        unfinished.keep (std::move (worker), std::move (borrowed));
        return 0;
    }

    /** How many workers that did not end in time are still running. */
    int countUnfinished()   { return unfinished.countRunning(); }

    static bool isQuitting();

private:
    static int runModalLoop (juce::Thread& worker, juce::Component& page);

    UnfinishedWorkers unfinished;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WorkerRunner)
};
