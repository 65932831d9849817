#include "tests/support/ReportRecorder.h"

void ReportRecorder::reportStatus (const juce::String& text)
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        statusTexts.add (text);
    }

    if (onStatus != nullptr)
        onStatus (text);
}

void ReportRecorder::reportProgress (double fraction)
{
    const std::lock_guard<std::mutex> guard (mutex);
    fractions.push_back (fraction);
}

juce::StringArray ReportRecorder::getStatusTexts() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return statusTexts;
}

std::vector<double> ReportRecorder::getFractions() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return fractions;
}
