#pragma once

#include <memory>
#include <optional>
#include <juce_core/juce_core.h>

#include "catalogue/CatalogueSigner.h"
#include "catalogue/FileDownloader.h"
#include "catalogue/TargetsInfo.h"
#include "catalogue/TargetsResult.h"
#include "handover/PageWorker.h"
#include "handover/StatusReporter.h"

/** Fetches the targets file while the scan page is shown: it tries the sources in
    order until one delivers a text, parses that one text into the catalogue, and
    then ends the page's modal state with 1.

    The page leaving its modal state (Cancel) aborts the download under way; that
    source counts as failed and the next one stops after its first chunk. Being told
    to exit aborts as well, and no further source is tried. Either stops a parse under
    way too, between chunks of the text, and then leaves no result: "not found".

    Any download the downloader refuses (FileDownloader::download: larger than
    largestTargetsFile, redirected where it may not go, slower than its deadline, or a
    local path that is no regular file) ends the search as an invalid targets file with
    the refusal's text.

    Given the vendor as signer, it takes a catalogue from the server only with the
    signature file beside it that the signer accepts (CatalogueSigner), and only when
    every revision gives its image's SHA-256 digest, which is all that ties an image
    to the signature; anything else ends the search as an invalid targets file, with
    the reason. Once taken, the catalogue's serial is remembered. A local file is the
    user's own choice and is taken unsigned.

    Use from the message thread:
        page.enterModalState (false);
        TargetsInfoDownloadThread thread (sources, &page, &page);
        thread.startThread();
        const auto result = page.runModalLoop();
    then wait for the thread and read its results.
*/
class TargetsInfoDownloadThread final : public PageWorker,
                                        private FileDownloader
{
public:
    /** Message thread. page and reporter are borrowed and may be null; a page must
        already be in its modal state.
    */
    TargetsInfoDownloadThread (const juce::StringArray& sources,
                               juce::Component* page,
                               StatusReporter* reporter,
                               std::optional<CatalogueSigner> signer = {});

    /** Message thread. Tells the thread to exit and waits for it; a catalogue not taken
        goes with it.
    */
    ~TargetsInfoDownloadThread() override;

    /** This thread. Downloads one source and returns its text, unparsed, or nothing
        when it could not be read, was aborted, or is a web page. Throws
        DownloadRefusedException as FileDownloader::download does.
    */
    std::optional<juce::String> fetchTargetsFile (const juce::String& source);

    /** The text of a downloaded catalogue in whichever encoding it was saved
        (CatalogueText), up to any zero character; nothing for a web page.
    */
    static std::optional<juce::String> catalogueTextOf (const juce::MemoryBlock& data);

    // Message thread, once the thread has ended.
    TargetsResult getStatus() const noexcept { return status; }
    const juce::String& getErrorMessage() const noexcept { return errorMessage; }
    std::unique_ptr<TargetsInfo> takeCatalogue() { return std::move (catalogue); }

    /** Well above any real catalogue, which takes tens of KB. */
    static constexpr juce::int64 largestTargetsFile = 8 * 1024 * 1024;

private:
    void work() override;
    /** Tries one source; true when the search stops here, with a catalogue or an error. */
    bool searchEndsWith (const juce::String& source);
    std::unique_ptr<juce::MemoryBlock> fetchBytes (const juce::String& source);
    CatalogueSigner::Verdict checkSignature (const juce::String& source, const juce::MemoryBlock& catalogueBytes);
    void parse (const juce::String& text, bool fromLocalFile);
    void takeSigned (const CatalogueSignature& signature);
    void refuse (const juce::String& why);

    const juce::StringArray sources;
    StatusReporter* const reporter;
    const std::optional<CatalogueSigner> signer;
    const FileDownloader signatureDownloader;

    // Written by this thread; read by the message thread only after it has ended.
    std::unique_ptr<TargetsInfo> catalogue;
    TargetsResult status = TargetsResult::TargetsNotFound;
    juce::String errorMessage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TargetsInfoDownloadThread)
};
