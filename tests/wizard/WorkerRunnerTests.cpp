#include <atomic>
#include <chrono>
#include <thread>
#include <gtest/gtest.h>

#include "tests/support/MessageLoop.h"
#include "wizard/WorkerRunner.h"

namespace
{
    /** A worker that ignores being told to exit for a while, as a step stuck in a
        long computation would, then writes to what it borrowed and to its own object.
    */
    struct StubbornWorker : public juce::Thread
    {
        StubbornWorker (std::shared_ptr<int> borrowedToWrite, std::atomic<bool>& finishedFlag)
            : juce::Thread ("Stubborn"), borrowed (std::move (borrowedToWrite)), finished (finishedFlag)
        {
        }

        ~StubbornWorker() override { waitForThreadToExit (-1); }

        void run() override
        {
            std::this_thread::sleep_for (std::chrono::milliseconds (WorkerTimeouts::graceMs + 500));
            *borrowed = 42;
            result = *borrowed;
            finished = true;
        }

        // What the worker reads from is borrowed: the runner, not the worker, keeps it.
        std::shared_ptr<int> borrowed;
        int result = 0;
        std::atomic<bool>& finished;
    };

    /** Cancels the page's modal loop soon after it starts, as the user's Cancel does. */
    struct CancelSoon : public juce::Timer
    {
        explicit CancelSoon (juce::Component& pageToCancel) : page (pageToCancel) { startTimer (50); }

        void timerCallback() override
        {
            stopTimer();
            page.exitModalState (0);
        }

        juce::Component& page;
    };

    struct WorkerRunnerTest : public ::testing::Test
    {
        // Runs a stubborn worker on the page and cancels it; the worker is then kept.
        void runAndCancel()
        {
            auto borrowed = std::make_shared<int> (0);
            keptAlive = borrowed;
            CancelSoon cancel (page);

            const auto [result, worker] = runner->runOnPage (page, [this, &borrowed]
            {
                return std::make_unique<StubbornWorker> (borrowed, finished);
            }, borrowed);
            borrowed.reset();

            EXPECT_EQ (result, 0);
            EXPECT_EQ (worker, nullptr) << "a worker that did not end in time is handed over";
        }

        juce::Component page;
        std::unique_ptr<WorkerRunner> runner = std::make_unique<WorkerRunner>();
        std::atomic<bool> finished { false };
        std::weak_ptr<int> keptAlive;
    };
}

TEST_F (WorkerRunnerTest, AWorkerThatDoesNotEndInTimeIsNeverKilledAndKeepsWhatItBorrowsUntilItEnds)
{
    runAndCancel();

    EXPECT_FALSE (finished);
    EXPECT_EQ (runner->countUnfinished(), 1);
    EXPECT_FALSE (keptAlive.expired());

    ASSERT_TRUE (MessageLoop::dispatchUntil ([this] { return runner->countUnfinished() == 0; }));
    EXPECT_TRUE (finished) << "the worker ran to its end";
    EXPECT_TRUE (keptAlive.expired()) << "and what it borrowed went with it";
}

TEST_F (WorkerRunnerTest, TheRunnerGoesOnlyAfterTheWorkersItKeepsHaveEnded)
{
    runAndCancel();

    runner.reset();

    EXPECT_TRUE (finished);
    EXPECT_TRUE (keptAlive.expired());
}
