#include "bench/ProgrammingOnPage.h"

#include "flow/UpdateThread.h"
#include "handover/WorkerTimeouts.h"
#include "wizard/PageModalLoop.h"

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
    if (loop == Loop::juceModal)
        page.runModalLoop();
    else
        PageModalLoop::run (page);
}

TimedStatusReporter& ProgrammingOnPage::getStatusTimes() noexcept
{
    return statusTimes;
}
