#pragma once

#include "cli/DeviceReporter.h"

/** One device's statuses and progress as JSON lines, each carrying the device:
    {"device": {"number": 2, "product": ..., "name": ...}, "status": ...}, or "progress"
    from 0 to 1 (-1 while unknown).
*/
class JsonDeviceLines final : public DeviceReporter
{
public:
    JsonDeviceLines (Console& console, const TargetDevice& device, int number);

    /** The device as these lines carry it: its number, product and name. */
    static juce::var deviceToJson (const TargetDevice& device, int number);

private:
    void showStatus (const juce::String& text) override;
    void showProgress (int percent, double fraction) override;

    // Written before the workers start; only read after.
    const juce::var device;
};
