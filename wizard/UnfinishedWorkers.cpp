#include "wizard/UnfinishedWorkers.h"

#include <algorithm>

UnfinishedWorkers::~UnfinishedWorkers()
{
    for (auto& entry : kept)
        entry.worker->waitForThreadToExit (-1);
}

void UnfinishedWorkers::keep (std::unique_ptr<juce::Thread> worker, std::shared_ptr<void> borrowed)
{
    jassert (worker->threadShouldExit());
    letGoOfEnded();
    kept.push_back ({ std::move (borrowed), std::move (worker) });
}

int UnfinishedWorkers::countRunning()
{
    letGoOfEnded();
    return (int) kept.size();
}

void UnfinishedWorkers::letGoOfEnded()
{
    kept.erase (std::remove_if (kept.begin(), kept.end(),
                                [] (const Kept& entry) { return ! entry.worker->isThreadRunning(); }),
                kept.end());
}
