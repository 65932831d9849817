#include "flow/StatusAfterStop.h"

StatusAfterStop::StatusAfterStop (StatusReporter* reporterToUse)
    : reporter (reporterToUse)
{
}

void StatusAfterStop::reportStatus (const juce::String& text)
{
    if (juce::Thread::currentThreadShouldExit())
        held = text;
    else if (reporter != nullptr)
        reporter->reportStatus (text);
}

void StatusAfterStop::passHeldOn()
{
    if (held.isNotEmpty() && reporter != nullptr)
        reporter->reportStatus (held);
}
