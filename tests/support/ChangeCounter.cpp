#include "tests/support/ChangeCounter.h"

ChangeCounter::ChangeCounter (juce::ChangeBroadcaster& broadcasterToWatch)
    : broadcaster (broadcasterToWatch)
{
    broadcaster.addChangeListener (this);
}

ChangeCounter::~ChangeCounter()
{
    broadcaster.removeChangeListener (this);
}

void ChangeCounter::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == &broadcaster)
        ++count;
}
