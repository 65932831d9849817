#include "wizard/DownloadImageThread.h"

#include "catalogue/DownloadRefusedException.h"

DownloadImageThread::DownloadImageThread (const juce::String& url, FileDownloader::Sources sources,
                                          juce::Component* page, StatusReporter* reporterToUse)
    : juce::Thread ("Download image"),
      FileDownloader (largestImage, sources),
      imageUrl (url),
      pageState (page != nullptr ? std::make_unique<ModalStateTracker> (*page) : nullptr),
      reporter (reporterToUse)
{
}

DownloadImageThread::~DownloadImageThread()
{
    // Never killed: every wait of the download wakes within about a second of this.
    signalThreadShouldExit();
    waitForThreadToExit (-1);
}

void DownloadImageThread::run()
{
    try
    {
        keep (download (imageUrl, shouldAbort, this, reporter));
    }
    catch (const DownloadRefusedException& e)
    {
        errorMessage = juce::String::fromUTF8 (e.what());
        status = ImageRefused;
    }

    if (pageState != nullptr)
        pageState->exitModalState (1);
}

void DownloadImageThread::keep (std::unique_ptr<juce::MemoryBlock> data)
{
    if (data == nullptr)
        status = ImageNotDownloaded;
    else if (startsLikeFirmwareImage (*data))
        image = std::move (data), status = ImageOk;
    else
        status = ImageInvalid;
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
