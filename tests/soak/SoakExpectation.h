#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** How one complete update must end, worked out from its scenario alone. */
struct SoakExpectation
{
    enum class Ending
    {
        noDevice,               // the scan finds nothing
        imageNotDownloaded,     // found, but there is no image to write
        succeeded,              // written, every block acknowledged
        failed,                 // the update worker reports errorText
        succeededOrUnexpected   // a stray message: the protocol lets the reply or the stray win
    };

    /** A block the host reads from the image inside a region, in order. */
    struct Block
    {
        juce::uint32 address = 0;
        bool sent = false;      // false: erased and not the region's first, so skipped
    };

    Ending ending = Ending::succeeded;
    juce::String errorText;
    bool imageError = false;                     // failed reading the image, not talking to the device
    bool strayDuringScan = false;                // succeededOrUnexpected: the scan may find nothing as well
    bool strayBeforeFailure = false;             // failed: a stray before it may be taken for a reply first

    std::vector<juce::String> programmingSends;  // the host's messages while programming (SoakStep::label)
    std::vector<Block> blocks;
    int silenceMs = 0;                           // time spent waiting for answers that never come
};
