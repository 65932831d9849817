#include "bench/TimedStatusReporter.h"

TimedStatusReporter::TimedStatusReporter (StatusReporter& targetToUse)
    : target (targetToUse)
{
}

void TimedStatusReporter::reportStatus (const juce::String& text)
{
    const auto start = juce::Time::getHighResolutionTicks();
    target.reportStatus (text);
    const auto seconds = juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - start);

    ++numCalls;
    totalSeconds += seconds;
    longestSeconds = juce::jmax (longestSeconds, seconds);
}

void TimedStatusReporter::reset() noexcept
{
    numCalls = 0;
    totalSeconds = 0.0;
    longestSeconds = 0.0;
}

juce::int64 TimedStatusReporter::getNumCalls() const noexcept
{
    return numCalls;
}

double TimedStatusReporter::getTotalSeconds() const noexcept
{
    return totalSeconds;
}

double TimedStatusReporter::getLongestSeconds() const noexcept
{
    return longestSeconds;
}
