#include "flow/UpdateFlow.h"

#include "flow/DownloadImageThread.h"
#include "flow/UpdateThread.h"

namespace
{
    const juce::String untouched ("The device was not changed.");

    juce::String describeLeftState (bool blockWritten)
    {
        if (blockWritten)
            return "The device is waiting in update mode and will be found again: run the update again to finish it.";

        // Stopped while the device was being switched: it may have switched without
        // its acknowledgement having been read.
        return "The device may be waiting in update mode; it will be found again either way, "
               "and an update from there finishes it.";
    }
}

UpdateFlow::UpdateFlow (TargetDevice& deviceToUpdate, const TargetRevision& revisionToWrite,
                        FileDownloader::Sources sources)
    : device (deviceToUpdate),
      revision (revisionToWrite),
      imageSources (sources)
{
}

UpdateFlow::~UpdateFlow() = default;

UpdateFlow::Step UpdateFlow::getStep() const noexcept
{
    return step;
}

std::unique_ptr<PageWorker> UpdateFlow::makeWorker (juce::Component* page, StatusReporter* status,
                                                    ProgressReporter* progress)
{
    switch (step)
    {
        case Step::download:
            return std::make_unique<DownloadImageThread> (revision.imageUrl, imageSources, page, status,
                                                          ExpectedImage (revision));
        case Step::program:
            statusWatch = std::make_unique<StatusAfterStop> (status);
            progressWatch = std::make_unique<BlockWatch> (progress);
            return std::make_unique<UpdateThread> (device, *imageStream, page, statusWatch.get(), progressWatch.get());
        case Step::ended:
            break;
    }

    jassertfalse;
    return nullptr;
}

void UpdateFlow::workerEnded (PageWorker& worker, bool finished)
{
    switch (step)
    {
        case Step::download: downloadEnded (worker, finished); break;
        case Step::program:  programmingEnded (worker, finished); break;
        case Step::ended:    jassertfalse; break;
    }
}

void UpdateFlow::downloadEnded (PageWorker& worker, bool finished)
{
    auto& download = dynamic_cast<DownloadImageThread&> (worker);

    if (! finished)
    {
        cancel();
        return;
    }

    switch (download.getStatus())
    {
        case DownloadImageThread::ImageOk:
            image = download.takeImage();
            imageStream = std::make_unique<juce::MemoryInputStream> (*image, false);
            step = Step::program;
            return;
        case DownloadImageThread::ImageRefused:
        case DownloadImageThread::ImageMismatched:
            end ({ UpdateEnd::imageRefused, download.getErrorMessage(), {}, { untouched } });
            return;
        case DownloadImageThread::ImageInvalid:
        case DownloadImageThread::ImageNotDownloaded:
            break;
    }

    end ({ UpdateEnd::imageUnreachable, {}, {}, { untouched } });
}

void UpdateFlow::programmingEnded (PageWorker& worker, bool finished)
{
    const auto& programming = dynamic_cast<UpdateThread&> (worker);

    // A stop after the last block changes nothing: the update is complete.
    if (programming.getStatus() == UpdateThread::UpdateOk)
    {
        statusWatch->passHeldOn();
        end ({ UpdateEnd::succeeded, {}, revision.specialPostInstructions, {} });
    }
    else if (! finished)
    {
        end ({ UpdateEnd::cancelled, {}, {}, { describeLeftState (progressWatch->wasBlockWritten()) } });
    }
    else
    {
        // A failure leaves the device where a stop at the same point would.
        end ({ UpdateEnd::programmingFailed, programming.getErrorMessage(), {}, { describeLeftState (progressWatch->wasBlockWritten()) } });
    }

    releaseImage();
}

void UpdateFlow::workerAbandoned()
{
    // A download given up on has not reached the device; a programming one may still be
    // writing into it.
    if (step == Step::program)
        end ({ UpdateEnd::programmingUnfinished, "The device did not finish in time", {}, {} });
    else
        cancel();
}

void UpdateFlow::cancel()
{
    end ({ UpdateEnd::cancelled, {}, {}, { untouched } });
    releaseImage();
}

// Only once no worker reads it: one given up on keeps reading until it ends.
void UpdateFlow::releaseImage()
{
    imageStream.reset();
    image.reset();
}

void UpdateFlow::end (UpdateOutcome how)
{
    outcome = std::move (how);
    step = Step::ended;
}

const UpdateOutcome& UpdateFlow::getOutcome() const noexcept
{
    return outcome;
}

TargetDevice& UpdateFlow::getDevice() const noexcept
{
    return device;
}

const TargetRevision& UpdateFlow::getRevision() const noexcept
{
    return revision;
}
