#pragma once

#include "device/TargetDevice.h"
#include "flow/UpdateOutcome.h"

#include <optional>

/** Which devices an update of several devices takes, and to which revisions: every
    device found that has one (--all), or each device named, resolved as a single
    --device is. Main thread.
*/
class DeviceChoice
{
public:
    /** A device, its number as "devices" shows it, and the revision it is updated to. */
    struct Entry
    {
        TargetDevice* device = nullptr;
        int number = 0;
        const TargetRevision* revision = nullptr;
    };

    /** names empty: every device found with a revision version (empty: its newest
        update). Otherwise each name, as --device takes it (a number, or the device's or
        its product's name); version is then asked of each of them.
    */
    DeviceChoice (const juce::OwnedArray<TargetDevice>& devices, const juce::StringArray& names,
                  const juce::String& version);

    /** The devices chosen, in the order found or named; empty when nothing can be updated. */
    const juce::Array<Entry>& getEntries() const noexcept { return entries; }

    /** How the run ends when nothing can be updated: a name that names no device or
        several, a device without the revision, or no device with an update at all.
    */
    const std::optional<UpdateOutcome>& getFailure() const noexcept { return failure; }

    /** Not empty when two names name one device: the command line is wrong. */
    const juce::String& getUsageError() const noexcept { return usageError; }

    /** The devices name stands for, as --device takes it: the number "devices" shows,
        or the device's own or its product's name, in any case. One, or it names none
        or is ambiguous.
    */
    static juce::Array<TargetDevice*> findNamed (const juce::OwnedArray<TargetDevice>& devices, const juce::String& name);

private:
    /** The index of the device a number as "devices" shows it names, of count devices. */
    static std::optional<int> indexNumbered (const juce::String& name, int count);

    void chooseEvery (const juce::String& version);
    void chooseNamed (const juce::StringArray& names, const juce::String& version);
    void fail (UpdateEnd end, const juce::String& note);

    const juce::OwnedArray<TargetDevice>& devices;
    juce::Array<Entry> entries;
    std::optional<UpdateOutcome> failure;
    juce::String usageError;
};
