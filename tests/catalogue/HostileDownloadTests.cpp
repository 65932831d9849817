#include <gtest/gtest.h>

#include "catalogue/DownloadRefusedException.h"
#include "catalogue/FileDownloader.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "server/LoopbackServer.h"
#include "tests/catalogue/RecordingReporter.h"
#include "tests/catalogue/TestData.h"

// Addresses and answers as a forged catalogue or a hostile server would give them.
namespace
{
    /** A TCP port on 127.0.0.1 that accepts nothing but tells whether anyone connected,
        standing in for a service (a key-value store, a mail server) that a download must
        never reach.
    */
    struct ServiceThatMustNotBeReached
    {
        ServiceThatMustNotBeReached()
        {
            EXPECT_TRUE (socket.createListener (0, "127.0.0.1"));
        }

        juce::String address (const juce::String& scheme, const juce::String& path) const
        {
            return scheme + "://127.0.0.1:" + juce::String (socket.getBoundPort()) + path;
        }

        // A connection completes in the listener's backlog even though nobody accepts it.
        bool wasReached() { return socket.waitUntilReady (true, 0) == 1; }

        juce::StreamingSocket socket;
    };

    constexpr juce::int64 testLimit = 64 * 1024;
    constexpr int shortTimeoutMs = 1000;

    struct HostileDownload : public ::testing::Test
    {
        // Returns the refusal's text, or "no refusal" and what the download gave.
        juce::String refusalOf (const juce::String& source,
                                FileDownloader::Sources sources = FileDownloader::Sources::webAndLocalFiles,
                                RecordingReporter* texts = nullptr)
        {
            try
            {
                const FileDownloader downloader (testLimit, sources, shortTimeoutMs);
                const auto data = downloader.download (source, nullptr, nullptr, texts != nullptr ? texts : &reporter);
                return "no refusal, " + juce::String (data != nullptr ? "data" : "nothing");
            }
            catch (const DownloadRefusedException& e)
            {
                return juce::String::fromUTF8 (e.what());
            }
        }

        LoopbackServer server;
        ServiceThatMustNotBeReached service;
        RecordingReporter reporter;
    };
}

TEST_F (HostileDownload, OtherSchemesThanHttpAndHttpsAreRefusedBeforeAnyConnection)
{
    for (const auto* scheme : { "gopher", "dict", "ftp", "telnet", "smtp", "ldap", "tftp" })
    {
        const auto address = service.address (scheme, "/_SET%20owned%201%0D%0AQUIT%0D%0A");

        EXPECT_EQ (refusalOf (address), "Only http and https addresses may be downloaded from here, not: " + address);
        EXPECT_FALSE (service.wasReached()) << scheme;
    }

    EXPECT_TRUE (reporter.getTexts().isEmpty());
}

TEST_F (HostileDownload, ARedirectIsFollowedOnlyToHttpOrHttps)
{
    const auto image = makeTestData (3000);
    server.setAnswer ("/image.bin", LoopbackServer::Answer::withData (image));
    server.setAnswer ("/moved.bin", LoopbackServer::Answer::redirectTo ("/image.bin", 301));
    server.setAnswer ("/elsewhere.bin", LoopbackServer::Answer::redirectTo (server.getUrl ("/moved.bin"), 307));
    server.setAnswer ("/gopher.bin", LoopbackServer::Answer::redirectTo (service.address ("gopher", "/_QUIT")));
    server.setAnswer ("/file.bin", LoopbackServer::Answer::redirectTo ("file:///etc/passwd"));
    server.setAnswer ("/loop.bin", LoopbackServer::Answer::redirectTo ("/loop.bin"));

    const auto data = FileDownloader().download (server.getUrl ("/elsewhere.bin"), nullptr, nullptr, nullptr);
    ASSERT_NE (data, nullptr);
    EXPECT_EQ (*data, image);

    EXPECT_EQ (refusalOf (server.getUrl ("/gopher.bin")),
               "The server redirected the download to an address that is not allowed: " + service.address ("gopher", "/_QUIT"));
    EXPECT_EQ (refusalOf (server.getUrl ("/file.bin")),
               "The server redirected the download to an address that is not allowed: file:///etc/passwd");
    EXPECT_EQ (refusalOf (server.getUrl ("/loop.bin")), "no refusal, nothing");
    EXPECT_FALSE (service.wasReached());
}

TEST_F (HostileDownload, AFileLargerThanTheLimitIsRefusedBeforeItIsHeld)
{
    struct Case { const char* name; size_t size; bool announceLength; bool refused; };

    const Case cases[] = {
        // clang-format off
        { "at the limit, announced",       (size_t) testLimit,     true,  false },
        { "at the limit, chunked",         (size_t) testLimit,     false, false },
        { "one byte over, announced",      (size_t) testLimit + 1, true,  true },
        { "one byte over, chunked",        (size_t) testLimit + 1, false, true },
        { "far over, announced",           1024 * 1024,            true,  true },
        // clang-format on
    };

    for (const auto& c : cases)
    {
        auto answer = LoopbackServer::Answer::withData (makeTestData (c.size));
        answer.announceLength = c.announceLength;
        answer.pieceSize = 4096;
        server.setAnswer ("/big.bin", answer);
        RecordingReporter texts;

        EXPECT_EQ (refusalOf (server.getUrl ("/big.bin"), FileDownloader::Sources::webOnly, &texts),
                   c.refused ? "The file is larger than 64 KB, the most this program accepts for it" : "no refusal, data")
            << c.name;

        // An announced length over the limit is refused before a byte of the body is kept.
        if (c.refused && c.announceLength)
        {
            EXPECT_EQ (texts.getTexts(), juce::StringArray ({ "Connecting..." })) << c.name;
        }
    }
}

TEST_F (HostileDownload, ALocalFileIsReadOnlyWhereAllowedAndWithinTheLimit)
{
    juce::TemporaryFile small, large;
    ASSERT_TRUE (small.getFile().replaceWithData (makeTestData (100).getData(), 100));
    ASSERT_TRUE (large.getFile().replaceWithData (makeTestData ((size_t) testLimit + 1).getData(), (size_t) testLimit + 1));
    const auto smallPath = small.getFile().getFullPathName();

    EXPECT_EQ (refusalOf (smallPath), "no refusal, data");
    EXPECT_EQ (refusalOf (smallPath, FileDownloader::Sources::webOnly),
               "Only http and https addresses may be downloaded from here, not: " + smallPath);
    EXPECT_EQ (refusalOf ("file://" + smallPath, FileDownloader::Sources::webAndLocalFiles),
               "Only http and https addresses may be downloaded from here, not: file://" + smallPath);
    EXPECT_EQ (refusalOf (large.getFile().getFullPathName()),
               "The file is larger than 64 KB, the most this program accepts for it");
}

TEST_F (HostileDownload, ACatalogueOverItsLimitIsAnInvalidTargetsFileAndNoOtherSourceIsAsked)
{
    const juce::TemporaryFile huge (".xml");
    const auto size = (size_t) TargetsInfoDownloadThread::largestTargetsFile + 1;
    ASSERT_TRUE (huge.getFile().replaceWithData (juce::MemoryBlock (size, true).getData(), size));

    TargetsInfoDownloadThread thread ({ huge.getFile().getFullPathName(), server.getUrl ("/UpdateTargets.xml") },
                                      nullptr, nullptr);
    thread.startThread();
    ASSERT_TRUE (thread.waitForThreadToExit (10000));

    EXPECT_EQ (thread.getStatus(), TargetsResult::TargetsParseError);
    EXPECT_EQ (thread.getErrorMessage(), "The file is larger than 8 MB, the most this program accepts for it");
    EXPECT_EQ (thread.takeCatalogue(), nullptr);
    EXPECT_TRUE (server.getRequests().empty());
}
