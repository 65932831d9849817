#pragma once

#include "handover/PageWorker.h"
#include "catalogue/TargetsInfo.h"
#include "device/ReplyTimeouts.h"
#include "device/TargetDevice.h"
#include "device/ports/MidiPortSystem.h"
#include "handover/StatusReporter.h"

/** Looks for the catalogue's devices on the MIDI ports while the scan page is shown,
    then ends the page's modal state with 1.

    Told to exit, it stops before its next probe; whatever it found by then is left
    for the controller to discard.
*/
class ScanForDevicesThread final : public PageWorker
{
public:
    /** Message thread. The catalogue and the ports must outlive the thread; page (which
        must already be modal) and reporter are borrowed and may be null. The devices
        found wait for their replies as timeouts says.
    */
    ScanForDevicesThread (const TargetsInfo& catalogue, MidiPortSystem& ports, const ReplyTimeouts& timeouts,
                          juce::Component* page, StatusReporter* reporter);

    /** Message thread. Tells the thread to exit and waits for it; devices not taken go with it. */
    ~ScanForDevicesThread() override;

    /** Message thread, once the thread has ended: the devices found, or nullptr when
        none answered.
    */
    std::unique_ptr<juce::OwnedArray<TargetDevice>> takeDevices() { return std::move (devices); }

private:
    void work() override;

    const TargetsInfo& catalogue;
    MidiPortSystem& ports;
    const ReplyTimeouts timeouts;
    StatusReporter* const reporter;

    // Written by this thread; read by the message thread only after it has ended.
    std::unique_ptr<juce::OwnedArray<TargetDevice>> devices;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ScanForDevicesThread)
};
