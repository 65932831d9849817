#pragma once

#include "catalogue/FileDownloader.h"
#include "flow/BlockWatch.h"
#include "flow/StatusAfterStop.h"
#include "device/TargetDevice.h"
#include "flow/UpdateOutcome.h"
#include "handover/PageWorker.h"
#include "handover/ProgressReporter.h"
#include "handover/StatusReporter.h"

/** One device's update once its revision is chosen: download the image, then write it
    into the device, each step on a worker of its own, and how that ended.

    A front end drives it: it asks for the current step's worker, runs it as it runs
    any long step (the wizard on the step's page, the client beside its other devices'
    workers), and hands it back once it has ended or has been given up on. The flow
    then moves on to the next step, or ends with its outcome.

    Message thread (the client's main thread). The workers it makes read the flow's
    image and report through it, so whoever keeps a worker that did not end in time
    keeps the flow too.
*/
class UpdateFlow
{
public:
    enum class Step
    {
        download,
        program,
        ended
    };

    /** The device must outlive the flow. imageSources says whether the image may be a
        file on this computer: only when the catalogue came from one.
    */
    UpdateFlow (TargetDevice& device, const TargetRevision& revision, FileDownloader::Sources imageSources);
    ~UpdateFlow();

    Step getStep() const noexcept;

    /** The current step's worker, not started; only while the flow has not ended.
        page (which must already be modal) and the reporters are borrowed, may be null,
        and must outlive the worker.
    */
    std::unique_ptr<PageWorker> makeWorker (juce::Component* page, StatusReporter* status, ProgressReporter* progress);

    /** worker, made for the current step, has ended; finished is false when it was
        asked to stop first (Cancel, Ctrl-C, the window closing). Moves to the next
        step, or ends the flow.
    */
    void workerEnded (PageWorker& worker, bool finished);

    /** The current step's worker did not end in time and has been given up on, told to
        exit; it may still be running. Ends the flow.
    */
    void workerAbandoned();

    /** Ends the flow as cancelled before its current step's worker has been made, so
        that step has not touched the device.
    */
    void cancel();

    /** Once the flow has ended: how. */
    const UpdateOutcome& getOutcome() const noexcept;

    TargetDevice& getDevice() const noexcept;
    const TargetRevision& getRevision() const noexcept;

private:
    void downloadEnded (PageWorker& worker, bool finished);
    void programmingEnded (PageWorker& worker, bool finished);
    void end (UpdateOutcome how);
    void releaseImage();

    TargetDevice& device;
    const TargetRevision& revision;
    const FileDownloader::Sources imageSources;

    Step step = Step::download;
    UpdateOutcome outcome;

    // Read by the programming worker, so kept until it has ended, and kept for good when
    // it is given up on.
    std::unique_ptr<juce::MemoryBlock> image;
    std::unique_ptr<juce::MemoryInputStream> imageStream;
    std::unique_ptr<StatusAfterStop> statusWatch;
    std::unique_ptr<BlockWatch> progressWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateFlow)
};
