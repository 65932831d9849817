#include "handover/PageWorker.h"

PageWorker::PageWorker (const juce::String& name, juce::Component* page)
    : juce::Thread (name),
      pageState (page != nullptr ? std::make_unique<ModalStateTracker> (*page) : nullptr)
{
}

PageWorker::~PageWorker()
{
    jassert (! isThreadRunning()); // a derived destructor should have stopped it
    stop();
}

void PageWorker::run()
{
    work();

    if (pageState != nullptr)
        pageState->exitModalState (1);

    if (endCallback != nullptr)
        endCallback();
}

bool PageWorker::shouldAbort() const noexcept
{
    return threadShouldExit() || (pageState != nullptr && ! pageState->isStillModal());
}

bool PageWorker::shouldAbort (void* context) noexcept
{
    return static_cast<const PageWorker*> (context)->shouldAbort();
}

void PageWorker::setEndCallback (std::function<void()> ended)
{
    jassert (! isThreadRunning());
    endCallback = std::move (ended);
}

void PageWorker::stop()
{
    signalThreadShouldExit();
    waitForThreadToExit (-1);
}
