#pragma once

#include "handover/StatusReporter.h"

/** Passes status texts on to another reporter and times how long each call kept its
    caller: for a page, the hand-over of the text to the message thread.

    reportStatus is called on one worker at a time; the figures are read and reset on
    another thread only while no worker reports (after it has ended, which orders them).
*/
class TimedStatusReporter : public StatusReporter
{
public:
    explicit TimedStatusReporter (StatusReporter& target);

    void reportStatus (const juce::String& text) override;

    void reset() noexcept;
    juce::int64 getNumCalls() const noexcept;
    double getTotalSeconds() const noexcept;
    double getLongestSeconds() const noexcept;

private:
    StatusReporter& target;
    juce::int64 numCalls = 0;
    double totalSeconds = 0.0;
    double longestSeconds = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TimedStatusReporter)
};
