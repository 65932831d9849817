#include <gtest/gtest.h>

#include "tests/support/FunctionThread.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/MessageLoop.h"
#include "wizard/pages/StatusHandOver.h"


namespace
{
    // A worker that shows one text through the hand-over and records how it went.
    struct ShowingWorker
    {
        ShowingWorker (StatusHandOver& handOver, juce::String text)
            : thread ([this, &handOver, text]
              {
                  started.signal();
                  shown = handOver.show (text);
                  returned.signal();
              })
        {
        }

        juce::WaitableEvent started, returned;
        std::atomic<bool> shown { false };
        FunctionThread thread;
    };
}

class StatusHandOverTest : public ::testing::Test
{
protected:
    // Starts a worker that shows text, and returns once it is about to.
    ShowingWorker& startWorkerShowing (const juce::String& text)
    {
        worker = std::make_unique<ShowingWorker> (*handOver, text);
        worker->thread.startThread();
        EXPECT_TRUE (worker->started.wait (5000));
        return *worker;
    }

    juce::String labelText() const { return label->getText(); }

    std::unique_ptr<juce::Label> label = std::make_unique<juce::Label>();
    std::unique_ptr<StatusHandOver> handOver = std::make_unique<StatusHandOver> (*label);
    std::unique_ptr<ShowingWorker> worker;
};

TEST_F (StatusHandOverTest, OnTheMessageThreadPutsTheTextOnTheLabelAtOnce)
{
    EXPECT_TRUE (handOver->show ("Identifying devices..."));
    EXPECT_EQ (labelText(), "Identifying devices...");
}

TEST_F (StatusHandOverTest, KeepsAWorkerWaitingUntilTheMessageThreadHasShownTheText)
{
    auto& w = startWorkerShowing ("Connecting...");

    // The message thread is not dispatching yet: the worker must still be waiting.
    EXPECT_FALSE (w.returned.wait (4 * StatusHandOver::waitSliceMs));
    EXPECT_EQ (labelText(), "");

    ASSERT_TRUE (MessageLoop::dispatchUntil ([&] { return w.returned.wait (0); }));
    EXPECT_TRUE (w.shown);
    EXPECT_EQ (labelText(), "Connecting...");
}

TEST_F (StatusHandOverTest, CompletesWhileTheMessageThreadRunsAModalLoop)
{
    juce::Component page;
    std::atomic<bool> shown { false };

    FunctionThread modalWorker ([&]
    {
        shown = handOver->show ("Download is complete");
        page.exitModalState (1);
    });

    page.enterModalState (false);
    modalWorker.startThread();

    EXPECT_EQ (page.runModalLoop(), 1);
    EXPECT_TRUE (shown);
    EXPECT_EQ (labelText(), "Download is complete");
}

TEST_F (StatusHandOverTest, AWorkerToldToExitStopsWaitingWithoutTheMessageThreadDispatching)
{
    auto& w = startWorkerShowing ("Downloaded 3 KB...");

    // Waiting, with its text posted: a worker already told to exit would post nothing.
    EXPECT_FALSE (w.returned.wait (4 * StatusHandOver::waitSliceMs));

    // Waiting for a worker on the message thread, as an owner that stops it does.
    EXPECT_TRUE (w.thread.stopThread (5000));
    EXPECT_FALSE (w.shown);
    EXPECT_EQ (labelText(), "");

    // The update it posted still arrives later, and shows the text then.
    EXPECT_TRUE (MessageLoop::dispatchUntil ([&] { return labelText() == "Downloaded 3 KB..."; }));
}

TEST_F (StatusHandOverTest, AWorkerAlreadyToldToExitReturnsWithoutWaitingForTheMessageThread)
{
    std::atomic<bool> shown { true };
    juce::WaitableEvent returned;

    FunctionThread exitingWorker ([&]
    {
        juce::Thread::getCurrentThread()->signalThreadShouldExit();
        shown = handOver->show ("Identifying devices...");
        returned.signal();
    });

    exitingWorker.startThread();

    EXPECT_TRUE (returned.wait (5000));
    EXPECT_FALSE (shown);

    // Nor does its text arrive later, on a page that may have moved on to another step.
    MessageLoop::dispatchPending();
    EXPECT_EQ (labelText(), "");
}

TEST_F (StatusHandOverTest, AnUpdateStillPendingWhenTheLabelIsDestroyedDoesNothing)
{
    auto& w = startWorkerShowing ("Locating targets file...");
    ASSERT_TRUE (w.thread.stopThread (5000));

    handOver.reset();
    label.reset();

    // Delivers the stale update; it must find the label gone and leave it alone.
    MessageLoop::dispatchPending();
    EXPECT_FALSE (w.shown);
}
