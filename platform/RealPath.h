#pragma once

#include <optional>
#include <juce_core/juce_core.h>

/** Where a path really leads once every link on the way is followed. */
struct RealPath
{
    /** The absolute path of what file names, with no link, "." or ".." left in it;
        nothing when it does not exist or cannot be resolved. Opens nothing that could
        wait: a pipe resolves like any file.
    */
    static std::optional<juce::File> of (const juce::File& file);
};
