#include "flow/DownloadImageThread.h"

#include "catalogue/DownloadRefusedException.h"

DownloadImageThread::DownloadImageThread (const juce::String& url, FileDownloader::Sources sources,
                                          juce::Component* page, StatusReporter* reporterToUse,
                                          const ExpectedImage& expectedImage)
    : PageWorker ("Download image", page),
      FileDownloader (largestImage, sources),
      imageUrl (url),
      reporter (reporterToUse),
      expected (expectedImage)
{
}

DownloadImageThread::~DownloadImageThread()
{
    // Here rather than in the base, whose destructor runs after the members the
    // thread uses are gone; every wait of the download wakes within about a
    // second of this.
    stop();
}

void DownloadImageThread::work()
{
    try
    {
        keep (download (imageUrl, shouldAbort, abortContext(), reporter));
    }
    catch (const DownloadRefusedException& e)
    {
        errorMessage = juce::String::fromUTF8 (e.what());
        status = ImageRefused;
    }
}

void DownloadImageThread::keep (std::unique_ptr<juce::MemoryBlock> data)
{
    if (data == nullptr)
    {
        status = ImageNotDownloaded;
    }
    else if (! expected.isMatchedBy (*data))
    {
        errorMessage = "The downloaded image is damaged or is not the one the catalogue names";
        status = ImageMismatched;
    }
    else if (startsLikeFirmwareImage (*data))
    {
        image = std::move (data);
        status = ImageOk;
    }
    else
    {
        status = ImageInvalid;
    }
}

bool DownloadImageThread::startsLikeFirmwareImage (const juce::MemoryBlock& data)
{
    static constexpr juce::uint8 magic[] = { 0x00, 0x5c, 0x00, 0x05 };
    return data.getSize() >= sizeof (magic) && std::memcmp (data.getData(), magic, sizeof (magic)) == 0;
}
