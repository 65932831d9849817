#pragma once

#include "catalogue/ExpectedImage.h"
#include "catalogue/FileDownloader.h"
#include "handover/PageWorker.h"

/** Downloads the chosen firmware image while the download page is shown, keeps it
    when it starts like a firmware image, then ends the page's modal state with 1.

    The page leaving its modal state (Cancel) or the thread being told to exit aborts
    the download after its current chunk. An image larger than largestImage, at an
    address the downloader will not read, at a local path that names no regular file,
    or that takes longer than the downloader's deadline, is refused with a text for the
    user, and so is one that is not the image the catalogue describes (its size or
    digest differs).
*/
class DownloadImageThread final : public PageWorker,
                                  private FileDownloader
{
public:
    enum ImageStatus
    {
        ImageOk = 0,             // downloaded and accepted
        ImageInvalid = 1,        // downloaded, but not a firmware image; discarded
        ImageNotDownloaded = 2,  // the download failed or was aborted
        ImageRefused = 3,        // too large, too slow, or at an address not allowed; see getErrorMessage()
        ImageMismatched = 4      // not the size or digest the catalogue gives; see getErrorMessage()
    };

    /** Message thread. page (which must already be modal) and reporter are borrowed
        and may be null. sources says whether imageUrl may name a local file: only when
        the catalogue came from a file the user put beside the program. expected is what
        the catalogue says the image is.
    */
    DownloadImageThread (const juce::String& imageUrl, FileDownloader::Sources sources,
                         juce::Component* page, StatusReporter* reporter,
                         const ExpectedImage& expected = {});

    /** Message thread. Tells the thread to exit and waits for it; an image not taken
        goes with it.
    */
    ~DownloadImageThread() override;

    // Message thread, once the thread has ended.
    ImageStatus getStatus() const noexcept { return status; }
    const juce::String& getErrorMessage() const noexcept { return errorMessage; }
    std::unique_ptr<juce::MemoryBlock> takeImage() { return std::move (image); }

    /** The first four bytes of every firmware image. */
    static bool startsLikeFirmwareImage (const juce::MemoryBlock& data);

    static constexpr juce::int64 largestImage = ExpectedImage::largestImage;

private:
    void work() override;
    void keep (std::unique_ptr<juce::MemoryBlock> data);

    const juce::String imageUrl;
    StatusReporter* const reporter;
    const ExpectedImage expected;

    // Written by this thread; read by the message thread only after it has ended.
    std::unique_ptr<juce::MemoryBlock> image;
    ImageStatus status = ImageNotDownloaded;
    juce::String errorMessage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DownloadImageThread)
};
