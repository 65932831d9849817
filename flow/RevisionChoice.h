#pragma once

#include "device/TargetDevice.h"

/** Which revisions a device is offered, the same for the wizard's list and the
    client's options.
*/
struct RevisionChoice
{
    /** With newestOnly, the device's newest update when it is newer than the device's
        version (else nothing); otherwise every revision of its product, older ones too.
        The revisions belong to the device's product.
    */
    static juce::Array<const TargetRevision*> offered (const TargetDevice& device, bool newestOnly);

    /** version empty: the newest update, or nullptr when none is newer. Otherwise the
        first of all the product's revisions whose version is exactly version, or nullptr.
    */
    static const TargetRevision* choose (const TargetDevice& device, const juce::String& version);
};
