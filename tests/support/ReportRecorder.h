#pragma once

#include "handover/ProgressReporter.h"
#include "handover/StatusReporter.h"

#include <functional>
#include <mutex>
#include <vector>

/** Keeps every status text and progress fraction a worker reports, in order. The
    worker reports on its thread; the test reads on its own, at any time.
*/
class ReportRecorder : public StatusReporter,
                       public ProgressReporter
{
public:
    void reportStatus (const juce::String& text) override;
    void reportProgress (double fraction) override;

    juce::StringArray getStatusTexts() const;
    std::vector<double> getFractions() const;

    /** Runs on the worker after each status text is kept. Set it before the worker starts. */
    std::function<void (const juce::String&)> onStatus;

private:
    mutable std::mutex mutex;   // guards statusTexts and fractions
    juce::StringArray statusTexts;
    std::vector<double> fractions;
};
