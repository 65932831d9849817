#include "catalogue/FileDownloader.h"

#include "catalogue/DownloadRefusedException.h"
#include "catalogue/DownloadWatchdog.h"
#include "catalogue/WebAddress.h"

namespace
{
    // The most memory an announced length reserves before any of it has arrived, so that
    // a server that announces more than it sends cannot make the program set aside more.
    constexpr juce::int64 largestTrustedLength = 64 * 1024 * 1024;

    void report (StatusReporter* reporter, const juce::String& text)
    {
        if (reporter != nullptr)
            reporter->reportStatus (text);
    }

    std::unique_ptr<juce::MemoryBlock> aborted (StatusReporter* reporter)
    {
        report (reporter, "Download was aborted");
        return {};
    }

    std::unique_ptr<juce::MemoryBlock> completed (std::unique_ptr<juce::MemoryBlock> data, StatusReporter* reporter)
    {
        report (reporter, "Download is complete");
        return data;
    }

    // Addresses are quoted to the user, but one from a forged catalogue may be long.
    juce::String quoted (const juce::String& address)
    {
        constexpr int longest = 200;
        return address.length() <= longest ? address : address.substring (0, longest) + "...";
    }

    juce::String describeSize (juce::int64 bytes)
    {
        if (bytes % 1048576 == 0)
            return juce::String (bytes / 1048576) + " MB";

        return bytes % 1024 == 0 ? juce::String (bytes / 1024) + " KB" : juce::String (bytes) + " bytes";
    }

    bool isRedirect (int statusCode)
    {
        return statusCode == 301 || statusCode == 302 || statusCode == 303 || statusCode == 307 || statusCode == 308;
    }
}

FileDownloader::FileDownloader (juce::int64 sizeLimitToUse, Sources sourcesToAllow, int connectionTimeoutMsToUse)
    : sizeLimit (sizeLimitToUse),
      allowedSources (sourcesToAllow),
      connectionTimeoutMs (connectionTimeoutMsToUse)
{
}

std::unique_ptr<juce::MemoryBlock> FileDownloader::download (const juce::String& source,
                                                             ShouldAbortCallback shouldAbort,
                                                             void* context,
                                                             StatusReporter* reporter) const
{
    const bool local = isLocalFile (source);

    if (local ? allowedSources != Sources::webAndLocalFiles : ! WebAddress::isAllowed (source))
        throw DownloadRefusedException ("Only http and https addresses may be downloaded from here, not: " + quoted (source));

    report (reporter, "Connecting...");
    const AbortTest abortTest { shouldAbort, context };

    return local ? downloadFile (source, abortTest, reporter)
                 : downloadUrl (source, abortTest, reporter);
}

bool FileDownloader::isLocalFile (const juce::String& source)
{
    const auto first = source[0];

    if (first == '/' || first == '\\')
        return true;

    const bool asciiLetter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    return source.length() >= 2 && asciiLetter && source[1] == ':';
}

juce::String FileDownloader::describeProgress (juce::int64 totalBytes)
{
    if (totalBytes < 1024)
        return juce::String::formatted ("Downloaded %d bytes...", static_cast<int> (totalBytes));

    if (totalBytes < 1048576)
        return juce::String::formatted ("Downloaded %d KB...", static_cast<int> (totalBytes / 1024));

    return juce::String::formatted ("Downloaded %.3f MB...", static_cast<double> (totalBytes) / 1048576.0);
}

std::unique_ptr<juce::MemoryBlock> FileDownloader::downloadFile (const juce::String& path,
                                                                 AbortTest abortTest,
                                                                 StatusReporter* reporter) const
{
    // A Windows path is no absolute path here: it names no file rather than one
    // relative to the working folder.
    const auto file = juce::File::createFileWithoutCheckingPath (path);

    if (! juce::File::isAbsolutePath (path) || ! file.existsAsFile())
        return {};

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return {};

    auto data = std::make_unique<juce::MemoryBlock>();

    if (! readChunks (stream, *data, abortTest, reporter))
        return aborted (reporter);

    if (stream.getStatus().failed())
        return {};

    return completed (std::move (data), reporter);
}

std::unique_ptr<juce::MemoryBlock> FileDownloader::downloadUrl (const juce::String& address,
                                                                AbortTest abortTest,
                                                                StatusReporter* reporter) const
{
    // Redirects are followed here rather than by the network library, which would follow
    // them to other schemes than http and https too.
    auto current = address;

    for (int redirects = 0;; ++redirects)
    {
        auto answer = requestOnce (current, abortTest, reporter);

        if (answer.redirectTo.isEmpty() || redirects == maximumRedirects)
            return std::move (answer.data);

        const auto next = WebAddress::resolveRedirect (current, answer.redirectTo);

        if (next.isEmpty())
            throw DownloadRefusedException ("The server redirected the download to an address that is not allowed: "
                                            + quoted (answer.redirectTo));
        current = next;
    }
}

FileDownloader::WebAnswer FileDownloader::requestOnce (const juce::String& address,
                                                       AbortTest abortTest,
                                                       StatusReporter* reporter) const
{
    // Taken exactly as given: parsing would re-escape the query.
    juce::WebInputStream stream (juce::URL::createWithoutParsing (address), false);
    stream.withExtraHeaders ("Cache-Control: No-cache")
        .withConnectionTimeout (connectionTimeoutMs)
        .withNumRedirectsToFollow (0);

    auto data = std::make_unique<juce::MemoryBlock>();
    DownloadWatchdog watchdog (stream, abortTest);
    const bool connected = stream.connect (nullptr);

    if (connected && isRedirect (stream.getStatusCode()))
    {
        const auto location = stream.getResponseHeaders()["Location"];

        if (location.isNotEmpty())
            return watchdog.finish() ? WebAnswer { aborted (reporter), {} } : WebAnswer { nullptr, location };
    }

    const bool readToEnd = connected && readChunks (stream, *data, abortTest, reporter);

    if (watchdog.finish() || (connected && ! readToEnd))
        return { aborted (reporter), {} };

    if (! connected || stream.isError())
        return {};

    const auto announced = stream.getTotalLength();

    if (announced >= 0 && static_cast<juce::int64> (data->getSize()) < announced)
        return {};

    return { completed (std::move (data), reporter), {} };
}

// Returns false when the abort test stopped the reading.
bool FileDownloader::readChunks (juce::InputStream& stream, juce::MemoryBlock& data,
                                 AbortTest abortTest, StatusReporter* reporter) const
{
    // Grown once to the announced length, else geometrically, and trimmed to what was
    // read when the writer goes. Appending to the block itself would reallocate it for
    // every chunk, and each time the allocator moved it, the whole download so far would
    // be copied and held twice.
    juce::MemoryOutputStream output (data, false);
    const auto announced = stream.getTotalLength();
    refuseIfTooLarge (announced);

    if (announced > 0)
        output.preallocate (static_cast<size_t> (juce::jmin (announced, largestTrustedLength)));

    juce::HeapBlock<char> buffer (chunkSize);
    juce::int64 total = 0;

    for (int bytesRead; (bytesRead = stream.read (buffer, chunkSize)) > 0;)
    {
        total += bytesRead;
        refuseIfTooLarge (total);
        report (reporter, describeProgress (total));
        output.write (buffer, static_cast<size_t> (bytesRead));

        if (abortTest())
            return false;
    }

    return true;
}

void FileDownloader::refuseIfTooLarge (juce::int64 size) const
{
    if (size > sizeLimit)
        throw DownloadRefusedException ("The file is larger than " + describeSize (sizeLimit)
                                        + ", the most this program accepts for it");
}
