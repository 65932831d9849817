#include <thread>
#include <gtest/gtest.h>

#include "handover/ModalStateTracker.h"
#include "tests/support/MessageLoop.h"

TEST (ModalStateTracker, FollowsThePageUntilItsModalStateEnds)
{
    juce::Component page;
    page.enterModalState (false);
    const ModalStateTracker tracker (page);

    EXPECT_TRUE (tracker.isStillModal());
    page.exitModalState (0);
    MessageLoop::dispatchPending();
    EXPECT_FALSE (tracker.isStillModal());
}

TEST (ModalStateTracker, AWorkersExitEndsTheModalLoopWithItsValue)
{
    juce::Component page;
    page.enterModalState (false);
    const ModalStateTracker tracker (page);
    std::thread worker ([&tracker] { tracker.exitModalState (1); });

    EXPECT_EQ (MessageLoop::runModalLoopWithLimit (page), 1);
    worker.join();
    EXPECT_FALSE (tracker.isStillModal());
}

TEST (ModalStateTracker, ALateExitDoesNotEndALaterModalStateOfTheSamePage)
{
    juce::Component page;
    page.enterModalState (false);
    const ModalStateTracker first (page);
    page.exitModalState (0);
    MessageLoop::dispatchPending();

    page.enterModalState (false);
    const ModalStateTracker second (page);
    first.exitModalState (1);
    MessageLoop::dispatchPending();

    EXPECT_TRUE (page.isCurrentlyModal (false));
    EXPECT_TRUE (second.isStillModal());
    second.exitModalState (1);
    MessageLoop::dispatchPending();
    EXPECT_FALSE (page.isCurrentlyModal (false));
}

TEST (ModalStateTracker, AnExitForAPageThatIsGoneDoesNothing)
{
    auto page = std::make_unique<juce::Component>();
    page->enterModalState (false);
    auto tracker = std::make_unique<ModalStateTracker> (*page);

    tracker->exitModalState (1);
    page.reset();
    MessageLoop::dispatchPending();

    EXPECT_FALSE (tracker->isStillModal());
}
