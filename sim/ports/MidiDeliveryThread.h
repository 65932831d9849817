#pragma once

#include <juce_core/juce_core.h>

#include <deque>
#include <functional>

/** A thread of its own that runs posted deliveries one at a time, in the order they
    were posted, as a MIDI driver's input thread hands each message to its callback.
    Whoever posts never waits for the receiver, so a receiver that takes its time
    delays only the deliveries queued behind it.

    Destroying it drops what is still queued and waits for a delivery that is running:
    once the destructor has returned nothing more is delivered. It must not be destroyed
    from inside one of its own deliveries.
*/
class MidiDeliveryThread : private juce::Thread
{
public:
    explicit MidiDeliveryThread (const juce::String& name);
    ~MidiDeliveryThread() override;

    /** Queues delivery behind everything posted before it. Any thread. */
    void post (std::function<void()> delivery);

    /** Drops every queued delivery and waits until the one running, if any, has
        returned. Later posts are delivered as usual. Any thread, this one included.
    */
    void discardPending();

private:
    void run() override;
    bool deliverNext();

    // Held by this thread for the whole of a delivery, so that discardPending can wait
    // for it. Taken before queueLock; a delivery may take other locks while holding it,
    // so nobody may wait for it while holding a lock that a delivery might want.
    juce::CriticalSection deliveryLock;

    // Guards pending. Held only to add or take an entry, never across a delivery.
    juce::CriticalSection queueLock;
    std::deque<std::function<void()>> pending;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiDeliveryThread)
};
