#include "wizard/WorkerRunner.h"

#include "wizard/PageModalLoop.h"

bool WorkerRunner::isQuitting()
{
    return juce::MessageManager::getInstance()->hasStopMessageBeenSent();
}

std::optional<int> WorkerRunner::run (juce::Thread& worker, juce::Component& page)
{
    const int result = runModalLoop (worker, page);

    if (worker.waitForThreadToExit (WorkerTimeouts::graceMs))
        return isQuitting() ? 0 : result;

    worker.signalThreadShouldExit();
    return std::nullopt;
}

int WorkerRunner::runModalLoop (juce::Thread& worker, juce::Component& page)
{
    worker.startThread();
    const int result = PageModalLoop::run (page);

    // A loop left while the page is still modal was left because the application is
    // quitting.
    if (page.isCurrentlyModal (false))
        page.exitModalState (0);

    // Quitting or Cancel: the worker is not wanted any more and is told so, so that a
    // status hand-over it waits in gives up at once rather than after the grace time.
    if (result == 0 || isQuitting())
        worker.signalThreadShouldExit();

    return result;
}
