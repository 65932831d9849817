#include <atomic>
#include <functional>
#include <gtest/gtest.h>

#include "handover/PageWorker.h"
#include "tests/support/MessageLoop.h"

namespace
{
    // Puts the worker's base at an address other than the object's, as a second base
    // (FileDownloader in the download workers) may.
    struct OtherBase
    {
        virtual ~OtherBase() = default;
        int unused = 0;
    };

    /** A page worker whose work is the step it is given. */
    struct StepWorker final : public OtherBase,
                              public PageWorker
    {
        StepWorker (juce::Component* page, std::function<void (StepWorker&)> stepToRun)
            : PageWorker ("Step", page), step (std::move (stepToRun))
        {
        }

        ~StepWorker() override { stop(); }

        void work() override { step (*this); }

        using PageWorker::abortContext;

        const std::function<void (StepWorker&)> step;
        juce::String written;
    };

    void doNothing (StepWorker&) {}
}

TEST (PageWorker, ShouldAbortOnceToldToExitOrOnceThePageHasLeftItsModalState)
{
    enum class Event { none, toldToExit, pageLeftModalState };

    const struct
    {
        const char* name;
        bool withPage;
        Event event;
        bool expected;
    } cases[] = {
        // clang-format off
        { "no page, nothing happened",      false, Event::none,               false },
        { "no page, told to exit",          false, Event::toldToExit,         true },
        { "modal page, nothing happened",   true,  Event::none,               false },
        { "modal page, told to exit",       true,  Event::toldToExit,         true },
        { "the page left its modal state",  true,  Event::pageLeftModalState, true },
        // clang-format on
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        juce::Component page;

        if (c.withPage)
            page.enterModalState (false);

        StepWorker worker (c.withPage ? &page : nullptr, doNothing);

        if (c.event == Event::toldToExit)
            worker.signalThreadShouldExit();

        if (c.event == Event::pageLeftModalState)
        {
            page.exitModalState (0);
            MessageLoop::dispatchPending();
        }

        EXPECT_EQ (worker.shouldAbort(), c.expected);
        EXPECT_EQ (PageWorker::shouldAbort (worker.abortContext()), c.expected) << "through the plain callback";

        page.exitModalState (0);
    }
}

TEST (PageWorker, EndsThePagesModalLoopWithOneHoweverSoonItsWorkEnds)
{
    const struct
    {
        const char* name;
        int workMs;
        bool endedBeforeTheLoop;
    } cases[] = {
        // clang-format off
        { "work done before the loop starts", 0,   true },
        { "work done while the loop runs",    200, false },
        // clang-format on
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        juce::Component page;
        page.enterModalState (false);
        StepWorker worker (&page, [&c] (StepWorker&) { juce::Thread::sleep (c.workMs); });
        worker.startThread();

        if (c.endedBeforeTheLoop)
        {
            ASSERT_TRUE (worker.waitForThreadToExit (3000));
        }

        EXPECT_EQ (MessageLoop::runModalLoopWithLimit (page), 1);
        EXPECT_TRUE (worker.waitForThreadToExit (3000));
    }
}

TEST (PageWorker, DestroyingARunningWorkerLetsItFinishItsWorkRatherThanKillingIt)
{
    std::atomic<bool> started { false };
    std::atomic<bool> finished { false };

    auto worker = std::make_unique<StepWorker> (nullptr, [&] (StepWorker& self)
    {
        started = true;

        while (! self.shouldAbort())
            self.wait (10);

        // What a step does after being told to exit, such as a device finishing its
        // current block, still runs, and still finds its object whole.
        juce::Thread::sleep (300);
        self.written = "after the request to exit";
        finished = true;
    });

    worker->startThread();

    while (! started)
        juce::Thread::sleep (1);

    worker.reset();

    EXPECT_TRUE (finished);
}
