#pragma once

#include "cli/Console.h"
#include "device/TargetDevice.h"

#include <atomic>

/** Where one device's workers report when several devices are updated at once: each
    device's status texts and progress, told apart from the others' by its label. Also
    puts each status into the trace, labelled.

    The device's workers call it, one at a time; the other devices' workers call their
    own reporters at the same moment, so whatever they share (the output) is guarded
    where it is written.
*/
class DeviceReporter : public StatusReporter,
                       public ProgressReporter
{
public:
    /** label: the device's number and names as they are shown, already visible(). */
    DeviceReporter (Console& console, const juce::String& label);

    void reportStatus (const juce::String& text) final;
    void reportProgress (double fraction) final;

    /** The device's number and names, e.g. 2 Calvio Hall Reverb "Studio Hall". */
    static juce::String labelOf (const TargetDevice& device, int number);

protected:
    /** A status text, as it came from the worker. */
    virtual void showStatus (const juce::String& text) = 0;

    /** Progress whose whole percentage changed; percent is -1 while it is unknown. */
    virtual void showProgress (int percent, double fraction) = 0;

    Console& console;
    const juce::String label;

private:
    // The percentage shown last: every block moves the progress a little, and only a
    // new whole percentage is worth showing. The device's workers, one after the other.
    std::atomic<int> lastPercent { -1 };
};
