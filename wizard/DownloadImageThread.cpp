#include "wizard/DownloadImageThread.h"

#include "wizard/WorkerTimeouts.h"

DownloadImageThread::DownloadImageThread (const juce::String& url, juce::Component* page,
                                          StatusReporter* reporterToUse)
    : juce::Thread ("Download image"),
      imageUrl (url),
      pageState (page != nullptr ? std::make_unique<ModalStateTracker> (*page) : nullptr),
      reporter (reporterToUse)
{
}

DownloadImageThread::~DownloadImageThread()
{
    stopThread (WorkerTimeouts::stopMs);
}

void DownloadImageThread::run()
{
    auto data = download (imageUrl, shouldAbort, this, reporter);

    if (data == nullptr)
        status = ImageNotDownloaded;
    else if (startsLikeFirmwareImage (*data))
        image = std::move (data), status = ImageOk;
    else
        status = ImageInvalid;

    if (pageState != nullptr)
        pageState->exitModalState (1);
}

bool DownloadImageThread::startsLikeFirmwareImage (const juce::MemoryBlock& data)
{
    static constexpr juce::uint8 magic[] = { 0x00, 0x5c, 0x00, 0x05 };
    return data.getSize() >= sizeof (magic) && std::memcmp (data.getData(), magic, sizeof (magic)) == 0;
}

bool DownloadImageThread::shouldAbort (void* context)
{
    const auto& thread = *static_cast<const DownloadImageThread*> (context);
    return thread.threadShouldExit()
        || (thread.pageState != nullptr && ! thread.pageState->isStillModal());
}
