#pragma once

#include "device/TargetDevice.h"
#include "handover/PageWorker.h"

/** Writes the downloaded image into the chosen device while the programming page is
    shown, keeps how that ended, then ends the page's modal state.

    Told to exit (the window is closing), the device stops after its current block
    and closes its ports.
*/
class UpdateThread final : public PageWorker
{
public:
    enum UpdateStatus
    {
        UpdateOk = 0,
        UpdateCommError = 1,    // the device could not be reached, or refused or garbled a command
        UpdateImageError = 2    // the image could not be read
    };

    /** Message thread. The device and the image stream must outlive the thread; page
        (which must already be modal) and the reporters are borrowed and may be null.
    */
    UpdateThread (TargetDevice& device, juce::InputStream& image, juce::Component* page,
                  StatusReporter* statusToUse, ProgressReporter* progressToUse);

    /** Message thread. Tells the thread to exit and waits for it. */
    ~UpdateThread() override;

    // Message thread, once the thread has ended.
    UpdateStatus getStatus() const noexcept { return status; }
    const juce::String& getErrorMessage() const noexcept { return errorMessage; }

private:
    void work() override;
    void fail (UpdateStatus, const std::exception&);

    TargetDevice& device;
    juce::InputStream& image;
    StatusReporter* const statusReporter;
    ProgressReporter* const progressReporter;

    // Written by this thread; read by the message thread only after it has ended.
    juce::String errorMessage;
    UpdateStatus status = UpdateOk;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateThread)
};
