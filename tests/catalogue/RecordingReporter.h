#pragma once

#include <mutex>
#include <juce_core/juce_core.h>

#include "handover/StatusReporter.h"

/** Keeps every status text it is given, from any thread. */
class RecordingReporter : public StatusReporter
{
public:
    void reportStatus (const juce::String& text) override
    {
        const std::lock_guard<std::mutex> guard (lock);
        texts.add (text);
    }

    juce::StringArray getTexts() const
    {
        const std::lock_guard<std::mutex> guard (lock);
        return texts;
    }

private:
    mutable std::mutex lock;
    juce::StringArray texts;
};
