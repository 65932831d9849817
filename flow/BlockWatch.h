#pragma once

#include "handover/ProgressReporter.h"

#include <juce_core/juce_core.h>

#include <atomic>

/** Passes a programming worker's progress on, and notes whether any block was written:
    from then on the device is certainly in update mode, whichever way the update ends.
*/
class BlockWatch : public ProgressReporter
{
public:
    /** reporter is borrowed, may be null, and must outlive the watch. */
    explicit BlockWatch (ProgressReporter* reporter);

    /** The programming worker. */
    void reportProgress (double fraction) override;

    /** Any thread. */
    bool wasBlockWritten() const noexcept { return blockWritten; }

private:
    ProgressReporter* const reporter;

    // Set by the programming worker, read by the message thread.
    std::atomic<bool> blockWritten { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BlockWatch)
};
