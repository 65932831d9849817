#pragma once

#include <memory>
#include <optional>
#include <juce_gui_basics/juce_gui_basics.h>

#include "wizard/UnfinishedWorkers.h"
#include "handover/WorkerTimeouts.h"

/** Runs each long step of the wizard on its worker while the step's page sits in its
    modal loop, and makes sure no worker is killed or outlived by what it uses.
    Message thread only.
*/
class WorkerRunner
{
public:
    WorkerRunner() = default;

    /** How a step's run ended: the page's modal result, and the worker to read the
        step's results from, or null when it did not end in time.
    */
    template <typename Worker>
    struct Finished
    {
        int result;
        std::unique_ptr<Worker> worker;
    };

    /** Enters page's modal state, makes the step's worker with makeWorker (a function
        returning a std::unique_ptr to it), starts it and runs page's modal loop until
        the worker or the user (Cancel) ends it, or the application quits; then gives
        the worker graceMs to end.

        The result is the page's modal result once the worker has ended. It is 0 when
        the application is quitting, and also when the worker did not end in time: it
        is then told to exit and kept, with borrowed (what it uses that its caller would
        otherwise destroy), until it ends; the worker returned is then null and its
        results are lost.
    */
    template <typename MakeWorker>
    auto runOnPage (juce::Component& page, MakeWorker&& makeWorker, std::shared_ptr<void> borrowed = {})
    {
        // Modal before the worker exists: one that finished before the page entered
        // its modal state would lose its end of it, and the loop would wait for ever.
        page.enterModalState (false);
        auto worker = makeWorker();
        const auto result = run (*worker, page);

        using Worker = typename decltype (worker)::element_type;

        if (! result.has_value())
        {
            unfinished.keep (std::move (worker), std::move (borrowed));
            return Finished<Worker> { 0, nullptr };
        }

        return Finished<Worker> { *result, std::move (worker) };
    }

    /** How many workers that did not end in time are still running. */
    int countUnfinished() { return unfinished.countRunning(); }

    static bool isQuitting();

private:
    // The page's modal result, or nothing when the worker did not end in time; it has
    // then been told to exit.
    static std::optional<int> run (juce::Thread& worker, juce::Component& page);
    static int runModalLoop (juce::Thread& worker, juce::Component& page);

    UnfinishedWorkers unfinished;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WorkerRunner)
};
