#include "flow/UpdateBatch.h"

#include "device/MidiTargetDevice.h"

#include <algorithm>
#include <atomic>
#include <numeric>

struct UpdateBatch::Entry
{
    Entry (std::unique_ptr<UpdateFlow> flowToRun, Reporters reportersToUse)
        : flow (std::move (flowToRun)), reporters (reportersToUse)
    {
    }

    bool hasEnded() const noexcept    { return flow->getStep() == UpdateFlow::Step::ended; }

    const std::unique_ptr<UpdateFlow> flow;
    const Reporters reporters;
    int lane = 0;

    // Message thread: the running worker was told to exit before it ended.
    bool stopSignalled = false;

    // Set by the worker's thread as its last act; taken by the message thread.
    std::atomic<bool> workerDone { false };

    // Declared after the flow, whose image it reads: it is stopped and waited for first.
    std::unique_ptr<PageWorker> worker;
};

UpdateBatch::UpdateBatch() = default;

UpdateBatch::~UpdateBatch()
{
    // All told first, so that they wind down together rather than one after another.
    for (auto& entry : entries)
        if (entry->worker != nullptr)
            entry->worker->signalThreadShouldExit();

    for (auto& entry : entries)
        entry->worker.reset();
}

void UpdateBatch::add (std::unique_ptr<UpdateFlow> flow, Reporters reporters)
{
    jassert (! started && flow != nullptr);
    entries.push_back (std::make_unique<Entry> (std::move (flow), reporters));
}

void UpdateBatch::start()
{
    jassert (! started);
    started = true;

    juce::Array<const TargetDevice*> devices;

    for (auto& entry : entries)
        devices.add (&entry->flow->getDevice());

    const auto lanes = assignLanes (devices);

    for (size_t i = 0; i < entries.size(); ++i)
        entries[i]->lane = lanes[i];

    for (size_t i = 0; i < entries.size(); ++i)
        if (lanes[i] == (int) i)
            startNextOnLane (lanes[i]);
}

bool UpdateBatch::serviceWorkers()
{
    for (auto& entry : entries)
        if (entry->worker != nullptr && entry->workerDone.exchange (false))
            moveOn (*entry);

    return std::any_of (entries.begin(), entries.end(), [] (const auto& entry) { return ! entry->hasEnded(); });
}

void UpdateBatch::waitForWorkers (int timeoutMs)
{
    for (auto& entry : entries)
        if (entry->workerDone.load())
            return;

    // A worker that ends after the test above has already signalled, and the wait
    // returns at once.
    if (isAnyWorkerRunning())
        workerEnded.wait (timeoutMs);
}

void UpdateBatch::stop()
{
    stopping = true;

    for (auto& entry : entries)
    {
        if (entry->worker != nullptr)
        {
            entry->worker->signalThreadShouldExit();
            entry->stopSignalled = true;
        }
        else if (! entry->hasEnded())
        {
            entry->flow->cancel();
        }
    }
}

int UpdateBatch::size() const noexcept
{
    return (int) entries.size();
}

const UpdateFlow& UpdateBatch::getFlow (int index) const
{
    return *entries[(size_t) index]->flow;
}

std::vector<int> UpdateBatch::assignLanes (const juce::Array<const TargetDevice*>& devices)
{
    // Each device points at the first device found to take turns with it; the first of
    // a group stands for the whole group.
    std::vector<int> lanes ((size_t) devices.size());
    std::iota (lanes.begin(), lanes.end(), 0);

    const auto root = [&lanes] (int i)
    {
        while (lanes[(size_t) i] != i)
            i = lanes[(size_t) i];

        return i;
    };

    const auto takeTurns = [] (const TargetDevice* a, const TargetDevice* b)
    {
        const auto* midiA = dynamic_cast<const MidiTargetDevice*> (a);
        const auto* midiB = dynamic_cast<const MidiTargetDevice*> (b);

        if (midiA == nullptr || midiB == nullptr)
            return false;

        const auto inputsJoined = ! midiA->getPortSystem().readsInputsApart() && ! midiB->getPortSystem().readsInputsApart();

        return inputsJoined
            || (midiA->getInputIndex() >= 0 && midiA->getInputIndex() == midiB->getInputIndex())
            || (midiA->getOutputIndex() >= 0 && midiA->getOutputIndex() == midiB->getOutputIndex());
    };

    for (int j = 1; j < devices.size(); ++j)
        for (int i = 0; i < j; ++i)
            if (takeTurns (devices[i], devices[j]))
            {
                const auto a = root (i), b = root (j);
                lanes[(size_t) juce::jmax (a, b)] = juce::jmin (a, b);
            }

    for (int i = 0; i < devices.size(); ++i)
        lanes[(size_t) i] = root (i);

    return lanes;
}

void UpdateBatch::startWorker (Entry& entry)
{
    entry.stopSignalled = false;
    entry.worker = entry.flow->makeWorker (nullptr, entry.reporters.status, entry.reporters.progress);
    entry.worker->setEndCallback ([this, &entry]
    {
        entry.workerDone = true;
        workerEnded.signal();
    });
    entry.worker->startThread();
}

void UpdateBatch::moveOn (Entry& entry)
{
    // Its last act was to say so; its results may be read once it has returned.
    const auto worker = std::move (entry.worker);
    worker->waitForThreadToExit (-1);
    entry.flow->workerEnded (*worker, ! entry.stopSignalled);

    if (! entry.hasEnded())
    {
        if (stopping)
            entry.flow->cancel();
        else
            startWorker (entry);

        return;
    }

    if (! stopping)
        startNextOnLane (entry.lane);
}

void UpdateBatch::startNextOnLane (int lane)
{
    for (auto& entry : entries)
    {
        if (entry->lane != lane || entry->hasEnded())
            continue;

        if (entry->worker == nullptr)
            startWorker (*entry);

        return;
    }
}

bool UpdateBatch::isAnyWorkerRunning() const
{
    return std::any_of (entries.begin(), entries.end(), [] (const auto& entry) { return entry->worker != nullptr; });
}
