#pragma once

#include <juce_events/juce_events.h>

/** Counts the change messages that a broadcaster delivers with itself as the source. */
class ChangeCounter : private juce::ChangeListener
{
public:
    explicit ChangeCounter (juce::ChangeBroadcaster& broadcasterToWatch);
    ~ChangeCounter() override;

    int count = 0;

private:
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    juce::ChangeBroadcaster& broadcaster;
};
