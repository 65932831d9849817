#pragma once

#include "cli/DeviceSurvey.h"

/** What the commands say about a device they found and its revisions, as text and as
    JSON. Devices are numbered from 1, in the order the survey found them.
*/
struct DeviceFacts
{
    static juce::String brandName (TargetBrand brand);

    /** Number, display name, then brand, product, name, version, update mode and ports. */
    static juce::String describe (const TargetDevice& device, int number, const DeviceSurvey& survey);

    static juce::var toJson (const TargetDevice& device, int number, const DeviceSurvey& survey);
    static juce::var toJson (const TargetRevision& revision);
};
