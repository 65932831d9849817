#pragma once

#include "flow/UpdateFlow.h"

#include <memory>
#include <vector>

/** Several devices' updates in one run. Devices on different port pairs are updated
    side by side, each step on a worker of its own; devices that share a port (a DIN
    chain behind one interface) one after another, in the order added, since a cable
    carries one device's blocks at a time; so do all devices on ports whose inputs are
    not read apart. A device whose update fails does not stop the others.

    Message thread (the client's main thread): it makes and starts the workers and,
    once one has ended, moves its device's flow on. The workers report through the
    reporters given with each device.
*/
class UpdateBatch
{
public:
    /** Where one device's workers report; borrowed, may be null, and must outlive the batch. */
    struct Reporters
    {
        StatusReporter* status = nullptr;
        ProgressReporter* progress = nullptr;
    };

    UpdateBatch();

    /** Tells the workers still running to exit and waits for them. */
    ~UpdateBatch();

    /** Adds a device's update, before start(). */
    void add (std::unique_ptr<UpdateFlow> flow, Reporters reporters);

    /** Starts the first device of every port pair. */
    void start();

    /** Moves on each device whose worker has ended: to its next step, or to the next
        device on its port pair. True while any device's update has not ended.
    */
    bool serviceWorkers();

    /** Waits up to timeoutMs, or until a running worker ends. */
    void waitForWorkers (int timeoutMs);

    /** Ctrl-C: tells every running worker to exit; the devices not started yet end
        cancelled, untouched. serviceWorkers() ends the others as their workers stop.
    */
    void stop();

    /** The devices' flows, in the order added. */
    int size() const noexcept;
    const UpdateFlow& getFlow (int index) const;

    /** Which devices go one after another: equal numbers for devices that share a
        port (input or output, directly or through a third), in the order added. A
        device that is not reached through MIDI ports of its own has a lane to itself.
        Devices whose port systems do not read inputs apart (JUCE's on Linux) all share
        one lane, whatever their ports: replies coming at once would be mixed up there.
    */
    static std::vector<int> assignLanes (const juce::Array<const TargetDevice*>& devices);

private:
    struct Entry;

    void startWorker (Entry& entry);
    void moveOn (Entry& entry);
    void startNextOnLane (int lane);
    bool isAnyWorkerRunning() const;

    // Message thread, apart from what Entry says.
    std::vector<std::unique_ptr<Entry>> entries;
    bool started = false;
    bool stopping = false;

    // Signalled by a worker's thread as its last act; waited on by the message thread.
    juce::WaitableEvent workerEnded;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateBatch)
};
