#include "sim/ports/MidiDeliveryThread.h"

MidiDeliveryThread::MidiDeliveryThread (const juce::String& name)
    : juce::Thread (name)
{
    startThread();
}

MidiDeliveryThread::~MidiDeliveryThread()
{
    signalThreadShouldExit();
    discardPending();
    stopThread (-1);
}

void MidiDeliveryThread::post (std::function<void()> delivery)
{
    {
        const juce::ScopedLock queued (queueLock);
        pending.push_back (std::move (delivery));
    }

    notify();
}

void MidiDeliveryThread::discardPending()
{
    {
        const juce::ScopedLock queued (queueLock);
        pending.clear();
    }

    // Emptying the queue first means this thread cannot keep the lock from us by
    // taking one queued delivery after another.
    const juce::ScopedLock waitForRunningDelivery (deliveryLock);
}

void MidiDeliveryThread::run()
{
    while (! threadShouldExit())
        if (! deliverNext())
            wait (-1);
}

bool MidiDeliveryThread::deliverNext()
{
    const juce::ScopedLock delivering (deliveryLock);
    std::function<void()> delivery;

    {
        const juce::ScopedLock queued (queueLock);

        if (pending.empty() || threadShouldExit())
            return false;

        delivery = std::move (pending.front());
        pending.pop_front();
    }

    delivery();
    return true;
}
