#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <juce_core/juce_core.h>

#include "catalogue/PublicAddress.h"
#include "handover/StatusReporter.h"

/** Reads a whole file into memory, from a local path or over HTTP, telling a
    StatusReporter how far it has got and stopping when its caller's abort test says
    so. The download threads derive from it and call download() from their run().

    What it reads is named by a catalogue that may have been forged, and served by a
    server that may lie: it fetches only http and https addresses (and follows
    redirects only to those, and never from a public address into the user's own
    networks), reads only regular local files and only where its owner allows them,
    never holds more than its size limit, and gives up once a download has taken longer
    than its size limit needs at the slowest rate it is worth waiting for.
*/
class FileDownloader
{
public:
    /** The caller's abort test: true means stop. It is called with the context given
        to download(): on the downloading thread after each chunk and, while a web
        request waits for the network, on a helper thread; so it must be safe to call
        from any thread, and it must keep answering true once it has.
    */
    using ShouldAbortCallback = bool (*) (void* context);

    /** Whether local paths may be read, or only web addresses. */
    enum class Sources
    {
        webOnly,
        webAndLocalFiles
    };

    /** Whether a web address leads to the public internet or into the user's own
        networks (PublicAddress::reachOf); shouldStop may end a wait for the answer.
        Asked on the downloading thread.
    */
    using ReachTest = std::function<PublicAddress::Reach (const juce::String& address, const std::function<bool()>& shouldStop)>;

    /** sizeLimit is the largest file accepted, in bytes. connectionTimeoutMs bounds
        both connecting and a transfer that stalls (less than 100 bytes a second for
        that long); a web server that stops answering then fails the download instead
        of holding it for ever. A server that keeps sending, but slowly, is held to
        the deadline: connectionTimeoutMs plus the time sizeLimit takes at
        slowestRate bytes a second. reachOf tells where redirects may lead.
    */
    explicit FileDownloader (juce::int64 sizeLimit = defaultSizeLimit,
                             Sources sources = Sources::webAndLocalFiles,
                             int connectionTimeoutMs = defaultConnectionTimeoutMs,
                             int slowestRate = defaultSlowestRate,
                             ReachTest reachOf = PublicAddress::reachOf);

    /** Reads source, a local path or a URL (isLocalFile tells which), to its end.

        Returns the bytes read, or nothing when the source cannot be opened, when the
        abort test stopped the download, or when the transfer failed part-way (an
        error, or fewer bytes than the server announced): a body cut short is never
        passed off as the whole file. Any HTTP answer's body counts, error pages too.
        Blocks the calling thread; reporter and shouldAbort may be null.

        Throws DownloadRefusedException when source (or an address a server redirects
        to) is neither an allowed web address (WebAddress) nor a local path this
        downloader may read, when a server that is not in the user's own networks
        redirects to one that is not known to be on the internet, when a local path names anything but a
        regular file, when the file turns out larger than the size limit, and when the
        download passes its deadline.
    */
    std::unique_ptr<juce::MemoryBlock> download (const juce::String& source,
                                                 ShouldAbortCallback shouldAbort,
                                                 void* context,
                                                 StatusReporter* reporter) const;

    /** A slash or backslash first, or a letter and a colon ("C:"), make a local path;
        anything else is a URL.
    */
    static bool isLocalFile (const juce::String& source);

    /** The status text shown after a chunk, for the total number of bytes read so far. */
    static juce::String describeProgress (juce::int64 totalBytes);

    static constexpr juce::int64 defaultSizeLimit = 64 * 1024 * 1024;
    static constexpr int defaultConnectionTimeoutMs = 10000;
    static constexpr int chunkSize = 1024;

    /** 16 KB a second: a 32 MB image in about 35 minutes. A line slower than this
        is not worth holding an update for, and a server trickling data slower than
        this is not one to wait for.
    */
    static constexpr int defaultSlowestRate = 16 * 1024;

    /** The longest a download may take, in milliseconds. */
    juce::int64 getDeadlineMs() const noexcept;

    /** How many redirects one download follows, as JUCE's streams do by default. */
    static constexpr int maximumRedirects = 5;

private:
    using Clock = std::chrono::steady_clock;

    // What ends one download early: the caller's abort test, and the deadline.
    struct Stops
    {
        bool aborted() const { return callback != nullptr && callback (context); }
        bool pastDeadline() const { return Clock::now() >= deadline; }

        ShouldAbortCallback callback;
        void* context;
        Clock::time_point deadline;
    };

    // One request's answer: its body, or where the server redirects to.
    struct WebAnswer
    {
        std::unique_ptr<juce::MemoryBlock> data;
        juce::String redirectTo;
    };

    std::unique_ptr<juce::MemoryBlock> downloadFile (const juce::String& path, const Stops&, StatusReporter*) const;
    std::unique_ptr<juce::MemoryBlock> downloadUrl (const juce::String& address, const Stops&, StatusReporter*) const;
    WebAnswer requestOnce (const juce::String& address, const Stops&, StatusReporter*) const;
    bool readChunks (juce::InputStream&, juce::MemoryBlock&, const Stops&, StatusReporter*) const;
    void refuseIfLeavingTheInternet (const juce::String& from, const juce::String& to,
                                     const juce::String& location, const Stops&) const;
    void refuseIfTooLarge (juce::int64 size) const;
    void refuseIfPastDeadline (const Stops&) const;
    [[noreturn]] void refuseAsPastDeadline() const;

    const juce::int64 sizeLimit;
    const Sources allowedSources;
    const int connectionTimeoutMs;
    const int slowestRate;
    const ReachTest reachOf;
};
