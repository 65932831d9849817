#include "catalogue/FileDownloader.h"

#include "catalogue/DownloadRefusedException.h"
#include "catalogue/DownloadWatchdog.h"
#include "catalogue/RegularFileInputStream.h"
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

    juce::String describeDuration (juce::int64 milliseconds)
    {
        const auto seconds = (milliseconds + 999) / 1000;

        if (seconds < 120)
            return juce::String (seconds) + (seconds == 1 ? " second" : " seconds");

        return juce::String ((seconds + 59) / 60) + " minutes";
    }

    juce::String describeKind (RegularFileInputStream::Kind kind)
    {
        switch (kind)
        {
            case RegularFileInputStream::Kind::folder:  return "a folder";
            case RegularFileInputStream::Kind::pipe:    return "a pipe";
            case RegularFileInputStream::Kind::device:  return "a device";
            case RegularFileInputStream::Kind::socket:  return "a socket";
            case RegularFileInputStream::Kind::regularFile:
            case RegularFileInputStream::Kind::missing:
            case RegularFileInputStream::Kind::otherKind:
                break;
        }

        return "something else";
    }

    bool isRedirect (int statusCode)
    {
        return statusCode == 301 || statusCode == 302 || statusCode == 303 || statusCode == 307 || statusCode == 308;
    }
}

FileDownloader::FileDownloader (juce::int64 sizeLimitToUse, Sources sourcesToAllow, int connectionTimeoutMsToUse,
                                int slowestRateToAccept, ReachTest reachOfToUse)
    : sizeLimit (sizeLimitToUse),
      allowedSources (sourcesToAllow),
      connectionTimeoutMs (connectionTimeoutMsToUse),
      slowestRate (juce::jmax (1, slowestRateToAccept)),
      reachOf (std::move (reachOfToUse))
{
}

juce::int64 FileDownloader::getDeadlineMs() const noexcept
{
    return connectionTimeoutMs + sizeLimit * 1000 / slowestRate;
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
    const Stops stops { shouldAbort, context, Clock::now() + std::chrono::milliseconds (getDeadlineMs()) };

    return local ? downloadFile (source, stops, reporter)
                 : downloadUrl (source, stops, reporter);
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
                                                                 const Stops& stops,
                                                                 StatusReporter* reporter) const
{
    // A Windows path is no absolute path here: it names no file rather than one
    // relative to the working folder.
    if (! juce::File::isAbsolutePath (path))
        return {};

    RegularFileInputStream stream (path);
    const auto kind = stream.getKind();

    if (kind == RegularFileInputStream::Kind::missing)
        return {};

    if (kind != RegularFileInputStream::Kind::regularFile)
        throw DownloadRefusedException ("Only regular files may be read from here, not " + describeKind (kind) + ": "
                                        + quoted (path));

    auto data = std::make_unique<juce::MemoryBlock>();

    if (! readChunks (stream, *data, stops, reporter))
        return aborted (reporter);

    if (stream.hasFailed())
        return {};

    return completed (std::move (data), reporter);
}

std::unique_ptr<juce::MemoryBlock> FileDownloader::downloadUrl (const juce::String& address,
                                                                const Stops& stops,
                                                                StatusReporter* reporter) const
{
    // Redirects are followed here rather than by the network library, which would follow
    // them to other schemes than http and https too, and into the user's own networks.
    auto current = address;

    for (int redirects = 0;; ++redirects)
    {
        refuseIfPastDeadline (stops);
        auto answer = requestOnce (current, stops, reporter);

        if (answer.redirectTo.isEmpty() || redirects == maximumRedirects)
            return std::move (answer.data);

        const auto next = WebAddress::resolveRedirect (current, answer.redirectTo);

        if (next.isEmpty())
            throw DownloadRefusedException ("The server redirected the download to an address that is not allowed: "
                                            + quoted (answer.redirectTo));

        refuseIfLeavingTheInternet (current, next, answer.redirectTo, stops);

        if (stops.aborted())
            return aborted (reporter);

        current = next;
    }
}

// A server that the program reached over the internet must not make it send requests to
// services that trust whatever comes from the user's own computer or network. One that
// is itself in such a network (a local test or mirror server) may send it anywhere; one
// whose network cannot be told is taken for a server on the internet.
void FileDownloader::refuseIfLeavingTheInternet (const juce::String& from, const juce::String& to,
                                                 const juce::String& location, const Stops& stops) const
{
    using Reach = PublicAddress::Reach;
    const auto shouldStop = [&stops] { return stops.aborted(); };

    if (reachOf (from, shouldStop) == Reach::usersNetwork || stops.aborted())
        return;

    const auto reach = reachOf (to, shouldStop);

    if (reach == Reach::internet || stops.aborted())
        return;

    throw DownloadRefusedException (reach == Reach::usersNetwork
                                        ? "The server redirected the download from the internet into a local network, "
                                          "which is not allowed: " + quoted (location)
                                        : "The server redirected the download to a host that could not be looked up: "
                                          + quoted (location));
}

FileDownloader::WebAnswer FileDownloader::requestOnce (const juce::String& address,
                                                       const Stops& stops,
                                                       StatusReporter* reporter) const
{
    // Taken exactly as given: parsing would re-escape the query.
    juce::WebInputStream stream (juce::URL::createWithoutParsing (address), false);
    stream.withExtraHeaders ("Cache-Control: No-cache")
        .withConnectionTimeout (connectionTimeoutMs)
        .withNumRedirectsToFollow (0);

    auto data = std::make_unique<juce::MemoryBlock>();
    DownloadWatchdog watchdog (stream, [&stops] { return stops.aborted(); }, stops.deadline);
    const bool connected = stream.connect (nullptr);

    // Whether the watchdog's cancel was the caller's abort; one for the deadline throws.
    const auto endedBy = [this] (DownloadWatchdog::Ending ending)
    {
        if (ending == DownloadWatchdog::Ending::deadlinePassed)
            refuseAsPastDeadline();

        return ending == DownloadWatchdog::Ending::aborted;
    };

    if (connected && isRedirect (stream.getStatusCode()))
    {
        const auto location = stream.getResponseHeaders()["Location"];

        if (location.isNotEmpty())
            return endedBy (watchdog.finish()) ? WebAnswer { aborted (reporter), {} } : WebAnswer { nullptr, location };
    }

    const bool readToEnd = connected && readChunks (stream, *data, stops, reporter);

    if (endedBy (watchdog.finish()) || (connected && ! readToEnd))
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
                                 const Stops& stops, StatusReporter* reporter) const
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

        if (stops.aborted())
            return false;

        refuseIfPastDeadline (stops);
    }

    return true;
}

void FileDownloader::refuseIfTooLarge (juce::int64 size) const
{
    if (size > sizeLimit)
        throw DownloadRefusedException ("The file is larger than " + describeSize (sizeLimit)
                                        + ", the most this program accepts for it");
}

void FileDownloader::refuseIfPastDeadline (const Stops& stops) const
{
    if (stops.pastDeadline())
        refuseAsPastDeadline();
}

void FileDownloader::refuseAsPastDeadline() const
{
    throw DownloadRefusedException ("The download took longer than " + describeDuration (getDeadlineMs())
                                        + ", the most this program waits for it");
}
