#pragma once

#include "cli/DeviceReporter.h"

/** One device's statuses and progress where the output is not a terminal: each a whole
    line of its own, prefixed with the device, e.g.
    [2 Calvio Hall Reverb "Studio Hall"] Writing at address: 0x4100
*/
class PlainDeviceLines final : public DeviceReporter
{
public:
    using DeviceReporter::DeviceReporter;

private:
    void showStatus (const juce::String& text) override;
    void showProgress (int percent, double fraction) override;
};
