#include "bench/ProgrammingOnPage.h"

#include "wizard/UpdateThread.h"
#include "handover/WorkerTimeouts.h"

namespace juce
{
    // JUCE's Linux event loop, which runDispatchLoopUntil calls: false lets it wait for
    // the next event instead of returning when none is pending.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

ProgrammingOnPage::ProgrammingOnPage (bool shown, Loop loopToRun)
    : loop (loopToRun)
{
    page.setLookAndFeel (&lookAndFeel);

    if (shown)
    {
        page.addToDesktop (juce::ComponentPeer::windowAppearsOnTaskbar);
        page.setVisible (true);
    }
}

ProgrammingOnPage::~ProgrammingOnPage()
{
    page.removeFromDesktop();
    page.setLookAndFeel (nullptr);
}

bool ProgrammingOnPage::run (TargetDevice& device, const juce::MemoryBlock& image)
{
    // As the wizard does it: modal before the worker exists, so that its end is never lost.
    juce::MemoryInputStream stream (image, false);
    page.enterModalState (false);
    UpdateThread thread (device, stream, &page, &statusTimes, &page);
    thread.startThread();
    runLoop();

    if (! thread.waitForThreadToExit (WorkerTimeouts::graceMs))
        return false;

    return thread.getStatus() == UpdateThread::UpdateOk;
}

void ProgrammingOnPage::runLoop()
{
    if (loop == Loop::modal)
    {
        page.runModalLoop();
        return;
    }

    while (page.isCurrentlyModal (false))
        juce::dispatchNextMessageOnSystemQueue (false);
}

TimedStatusReporter& ProgrammingOnPage::getStatusTimes() noexcept
{
    return statusTimes;
}
