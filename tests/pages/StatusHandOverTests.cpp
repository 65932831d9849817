#include "tests/pages/PageTestSupport.h"
#include "wizard/pages/StatusHandOver.h"

using PageTestSupport::FunctionThread;

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

TEST (StatusHandOver, OnTheMessageThreadPutsTheTextOnTheLabelAtOnce)
{
    juce::Label label;
    StatusHandOver handOver (label);

    EXPECT_TRUE (handOver.show ("Identifying devices..."));
    EXPECT_EQ (label.getText(), "Identifying devices...");
}

TEST (StatusHandOver, KeepsAWorkerWaitingUntilTheMessageThreadHasShownTheText)
{
    juce::Label label;
    StatusHandOver handOver (label);
    ShowingWorker worker (handOver, "Connecting...");

    worker.thread.startThread();
    ASSERT_TRUE (worker.started.wait (5000));

    // The message thread is not dispatching yet: the worker must still be waiting.
    EXPECT_FALSE (worker.returned.wait (4 * StatusHandOver::waitSliceMs));
    EXPECT_EQ (label.getText(), "");

    ASSERT_TRUE (PageTestSupport::dispatchUntil ([&] { return worker.returned.wait (0); }));
    EXPECT_TRUE (worker.shown);
    EXPECT_EQ (label.getText(), "Connecting...");
}

TEST (StatusHandOver, CompletesWhileTheMessageThreadRunsAModalLoop)
{
    juce::Label label;
    juce::Component page;
    StatusHandOver handOver (label);
    std::atomic<bool> shown { false };

    FunctionThread worker ([&]
    {
        shown = handOver.show ("Download is complete");
        page.exitModalState (1);
    });

    page.enterModalState (false);
    worker.startThread();

    EXPECT_EQ (page.runModalLoop(), 1);
    EXPECT_TRUE (shown);
    EXPECT_EQ (label.getText(), "Download is complete");
}

TEST (StatusHandOver, AWorkerToldToExitStopsWaitingWithoutTheMessageThreadDispatching)
{
    juce::Label label;
    StatusHandOver handOver (label);
    ShowingWorker worker (handOver, "Downloaded 3 KB...");

    worker.thread.startThread();
    ASSERT_TRUE (worker.started.wait (5000));

    // Waiting for a worker on the message thread, as an owner that stops it does.
    EXPECT_TRUE (worker.thread.stopThread (5000));
    EXPECT_FALSE (worker.shown);
    EXPECT_EQ (label.getText(), "");

    // The update it posted still arrives later, and shows the text then.
    ASSERT_TRUE (PageTestSupport::dispatchUntil ([&] { return label.getText() == "Downloaded 3 KB..."; }));
}

TEST (StatusHandOver, AWorkerAlreadyToldToExitReturnsWithoutWaitingForTheMessageThread)
{
    juce::Label label;
    StatusHandOver handOver (label);
    std::atomic<bool> shown { true };
    juce::WaitableEvent returned;

    FunctionThread worker ([&]
    {
        juce::Thread::getCurrentThread()->signalThreadShouldExit();
        shown = handOver.show ("Identifying devices...");
        returned.signal();
    });

    worker.startThread();

    EXPECT_TRUE (returned.wait (5000));
    EXPECT_FALSE (shown);
}

TEST (StatusHandOver, AnUpdateStillPendingWhenTheLabelIsDestroyedDoesNothing)
{
    auto label = std::make_unique<juce::Label>();
    auto handOver = std::make_unique<StatusHandOver> (*label);
    ShowingWorker worker (*handOver, "Locating targets file...");

    worker.thread.startThread();
    ASSERT_TRUE (worker.started.wait (5000));
    ASSERT_TRUE (worker.thread.stopThread (5000));

    handOver.reset();
    label.reset();

    // Delivers the stale update; it must find the label gone and leave it alone.
    PageTestSupport::dispatchPending();
    EXPECT_FALSE (worker.shown);
}
