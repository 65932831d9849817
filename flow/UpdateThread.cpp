#include "flow/UpdateThread.h"

#include "device/BinFileException.h"
#include "device/CommHostException.h"
#include "device/CommTargetException.h"

UpdateThread::UpdateThread (TargetDevice& deviceToUpdate, juce::InputStream& imageToWrite, juce::Component* page,
                            StatusReporter* statusToUse, ProgressReporter* progressToUse)
    : PageWorker ("Update", page),
      device (deviceToUpdate),
      image (imageToWrite),
      statusReporter (statusToUse),
      progressReporter (progressToUse)
{
}

UpdateThread::~UpdateThread()
{
    // Here rather than in the base, whose destructor runs after the members the
    // thread uses are gone; every wait of the worker wakes up soon after this.
    stop();
}

void UpdateThread::work()
{
    try
    {
        device.update (image, statusReporter, progressReporter);
    }
    catch (const CommTargetException& e)   { fail (UpdateCommError, e); }
    catch (const CommHostException& e)     { fail (UpdateCommError, e); }
    catch (const BinFileException& e)      { fail (UpdateImageError, e); }
    // Ports that cannot be opened: without this the page would wait for ever.
    catch (const CommException& e)         { fail (UpdateCommError, e); }
}

void UpdateThread::fail (UpdateStatus newStatus, const std::exception& e)
{
    status = newStatus;
    errorMessage = juce::String::fromUTF8 (e.what());
}
