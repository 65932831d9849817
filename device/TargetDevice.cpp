#include "device/TargetDevice.h"

TargetDevice::TargetDevice (const TargetProduct& productToCopy)
    : product (productToCopy)
{
}

juce::String TargetDevice::getDisplayName() const
{
    auto text = product.name;
    const auto deviceName = getDeviceName();

    if (deviceName.isNotEmpty())
        text << " \"" << deviceName << "\"";

    if (isWaitingForUpdate())
        return text + " (waiting for update)";

    return text + " (at version " + getVersion() + ")";
}

const TargetRevision* TargetDevice::findNewestUpdate() const
{
    const TargetRevision* newest = nullptr;

    for (const auto* revision : product.revisions)
        if (newest == nullptr || compareVersions (revision->version, newest->version) == 1)
            newest = revision;

    if (newest != nullptr && compareVersions (newest->version, getVersion()) == 1)
        return newest;

    return nullptr;
}
