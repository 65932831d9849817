#pragma once

#include "catalogue/TargetProduct.h"
#include "handover/ProgressReporter.h"
#include "handover/StatusReporter.h"

#include <juce_core/juce_core.h>

/** One updatable device that a scan found: its catalogue product, and what the device
    reported about itself (its name, its firmware version, whether it waits in its update
    mode).

    The device keeps its own deep copy of the product, so the catalogue may go while the
    device lives. The reported fields are written by the one worker that drives the
    device (the scan, then the update) and read by others only after it has finished.
*/
class TargetDevice
{
public:
    explicit TargetDevice (const TargetProduct& productToCopy);
    virtual ~TargetDevice() = default;

    /** The firmware version the device reported; empty when none was read. */
    virtual juce::String getVersion() const = 0;

    /** 1 when version text a is newer than b, -1 when older, 0 when they are equal. */
    virtual int compareVersions (const juce::String& a, const juce::String& b) const = 0;

    /** The name the device gave itself; may be empty. */
    virtual juce::String getDeviceName() const = 0;

    /** True when the device reported that it waits in its update mode. */
    virtual bool isWaitingForUpdate() const = 0;

    /** Writes the firmware image read from image into the device, reporting through
        status and progress when they are not null. Throws the communication and image
        errors that ended it. Called on the worker that drives the device.
    */
    virtual void update (juce::InputStream& image, StatusReporter* status, ProgressReporter* progress) = 0;

    /** The name shown for the device in lists and messages: the product's name, the
        device's own name in quotes when it has one, and its state (its version, or
        that it waits for an update).
    */
    juce::String getDisplayName() const;

    /** The newest of the product's revisions when it is newer than the device's version,
        else nullptr. Of revisions with equal versions the first listed is taken. The
        revision belongs to product.
    */
    const TargetRevision* findNewestUpdate() const;

    const TargetProduct product;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TargetDevice)
};
