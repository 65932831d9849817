#pragma once

#include <optional>
#include <juce_core/juce_core.h>

#include "catalogue/TargetRevision.h"

/** What a downloaded image must be for the revision that names it: the size and the
    SHA-256 digest its catalogue entry gives, each only when given. An image served in
    place of the named one, or damaged on the way, fails here before it reaches a
    device. Holds copies, so a worker may keep it after the catalogue is gone;
    immutable once built, so any thread may ask it.
*/
class ExpectedImage
{
public:
    /** Nothing expected: every image matches. */
    ExpectedImage() = default;

    explicit ExpectedImage (const TargetRevision& revision);

    bool isMatchedBy (const juce::MemoryBlock& image) const;

    /** The SHA-256 digest of data, as 64 lower-case hexadecimal digits. */
    static juce::String sha256Of (const juce::MemoryBlock& data);

    /** The largest image the program downloads; well above the flash of any device,
        which holds tens of MB at most. The vendor's tool describes no larger one.
    */
    static constexpr juce::int64 largestImage = 32 * 1024 * 1024;

private:
    std::optional<juce::int64> size;
    juce::String sha256;
};
