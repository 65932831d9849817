#include "flow/RevisionChoice.h"

juce::Array<const TargetRevision*> RevisionChoice::offered (const TargetDevice& device, bool newestOnly)
{
    juce::Array<const TargetRevision*> revisions;

    if (! newestOnly)
    {
        for (const auto* revision : device.product.revisions)
            revisions.add (revision);
    }
    else if (const auto* newest = device.findNewestUpdate())
    {
        revisions.add (newest);
    }

    return revisions;
}

// A version asked for is taken as the wizard takes any revision the user picks from the
// full list, older ones too.
const TargetRevision* RevisionChoice::choose (const TargetDevice& device, const juce::String& version)
{
    for (const auto* revision : offered (device, version.isEmpty()))
        if (version.isEmpty() || revision->version == version)
            return revision;

    return nullptr;
}
