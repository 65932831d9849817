#pragma once

#include "handover/StatusReporter.h"

#include <juce_core/juce_core.h>

/** Passes a programming worker's statuses on until the worker is told to exit, and holds
    back the one it reports after that.

    The programming sequence ends its step with "Update failed" however it stopped, also
    when told to exit, and the outcome then says the update was cancelled; a stop that
    came after the last block changes nothing, and the held "Update is complete" is
    passed on. So the outcome decides, once the worker has ended.
*/
class StatusAfterStop : public StatusReporter
{
public:
    /** reporter is borrowed, may be null, and must outlive this. */
    explicit StatusAfterStop (StatusReporter* reporter);

    /** The programming worker. */
    void reportStatus (const juce::String& text) override;

    /** Message thread, once the worker has ended: passes the held status on, if any. */
    void passHeldOn();

private:
    StatusReporter* const reporter;

    // Written by the programming worker; read by the message thread once it has ended.
    juce::String held;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StatusAfterStop)
};
