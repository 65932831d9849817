#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "catalogue/DownloadRefusedException.h"
#include "catalogue/FileDownloader.h"
#include "catalogue/PublicAddress.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "server/LoopbackServer.h"
#include "tests/catalogue/TestData.h"
#include "tests/support/ReportRecorder.h"
#include "tests/support/ServiceThatMustNotBeReached.h"
#include "tests/support/UserTexts.h"
#include "flow/DownloadImageThread.h"

// Addresses and answers as a forged catalogue or a hostile server would give them.
namespace
{
    constexpr juce::int64 testLimit = 64 * 1024;
    constexpr int shortTimeoutMs = 1000;

    // A named pipe. Should anything open it to read and wait there for a writer, a
    // thread of its own opens the other end and closes it again, which ends that wait
    // with an empty read: a test then fails instead of hanging, and the pipe remembers it.
    class PipeInTheWay
    {
    public:
        PipeInTheWay()
        {
            EXPECT_EQ (mkfifo (getPath().toRawUTF8(), 0600), 0);
            opener = std::thread ([this] { openTheOtherEndOfWaitingReads(); });
        }

        ~PipeInTheWay()
        {
            stopping = true;
            opener.join();
        }

        juce::String getPath() const { return file.getFile().getFullPathName(); }
        bool aReaderWaited() const { return readerWaited; }

    private:
        void openTheOtherEndOfWaitingReads()
        {
            while (! stopping)
            {
                // Opening without waiting succeeds only while someone has the pipe open to read.
                if (const auto writer = open (getPath().toRawUTF8(), O_WRONLY | O_NONBLOCK); writer >= 0)
                {
                    readerWaited = true;
                    close (writer);
                }

                std::this_thread::sleep_for (std::chrono::milliseconds (20));
            }
        }

        const juce::TemporaryFile file { ".fifo" };
        std::atomic<bool> stopping { false }, readerWaited { false };
        std::thread opener;
    };

    // A listening local socket in the file system, which no read may wait on either.
    struct LocalSocket
    {
        LocalSocket()
        {
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            getPath().copyToUTF8 (address.sun_path, sizeof (address.sun_path));
            EXPECT_EQ (bind (descriptor, reinterpret_cast<const sockaddr*> (&address), sizeof (address)), 0);
            EXPECT_EQ (listen (descriptor, 1), 0);
        }

        ~LocalSocket() { close (descriptor); }

        juce::String getPath() const { return file.getFile().getFullPathName(); }

        const juce::TemporaryFile file { ".socket" };
        const int descriptor = socket (AF_UNIX, SOCK_STREAM, 0);
    };

    juce::String notARegularFile (const juce::String& kind, const juce::String& path)
    {
        return "Only regular files may be read from here, not " + kind + ": " + path;
    }

    struct HostileDownload : public ::testing::Test
    {
        // Returns the refusal's text, or "no refusal" and what the download gave.
        juce::String refusalOf (const juce::String& source,
                                FileDownloader::Sources sources = FileDownloader::Sources::webAndLocalFiles,
                                ReportRecorder* texts = nullptr)
        {
            return refusalOf (FileDownloader (testLimit, sources, shortTimeoutMs), source, texts);
        }

        juce::String refusalOf (const FileDownloader& downloader, const juce::String& source, ReportRecorder* texts = nullptr)
        {
            try
            {
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
        ReportRecorder reporter;
    };
}

TEST_F (HostileDownload, OtherSchemesThanHttpAndHttpsAreRefusedBeforeAnyConnection)
{
    for (const auto* scheme : { "gopher", "dict", "ftp", "telnet", "smtp", "ldap", "tftp" })
    {
        const auto address = service.address (scheme);

        EXPECT_EQ (refusalOf (address), "Only http and https addresses may be downloaded from here, not: " + address);
        EXPECT_FALSE (service.wasReached()) << scheme;
    }

    EXPECT_TRUE (reporter.getStatusTexts().isEmpty());
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
        { "at the limit, announced",       (size_t) testLimit,     true,  false },
        { "at the limit, chunked",         (size_t) testLimit,     false, false },
        { "one byte over, announced",      (size_t) testLimit + 1, true,  true },
        { "one byte over, chunked",        (size_t) testLimit + 1, false, true },
        { "far over, announced",           1024 * 1024,            true,  true },
    };

    for (const auto& c : cases)
    {
        auto answer = LoopbackServer::Answer::withData (makeTestData (c.size));
        answer.announceLength = c.announceLength;
        answer.pieceSize = 4096;
        server.setAnswer ("/big.bin", answer);
        ReportRecorder texts;

        EXPECT_EQ (refusalOf (server.getUrl ("/big.bin"), FileDownloader::Sources::webOnly, &texts),
                   c.refused ? "The file is larger than 64 KB, the most this program accepts for it" : "no refusal, data")
            << c.name;

        // An announced length over the limit is refused before a byte of the body is kept.
        if (c.refused && c.announceLength)
        {
            EXPECT_EQ (texts.getStatusTexts(), juce::StringArray ({ UserTexts::connecting })) << c.name;
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

TEST_F (HostileDownload, OnlyARegularLocalFileIsReadAnythingElseIsRefusedWithoutWaitingOnIt)
{
    const PipeInTheWay pipe;
    const LocalSocket socket;
    const juce::TemporaryFile regular, link;
    ASSERT_TRUE (regular.getFile().replaceWithData (makeTestData (100).getData(), 100));
    ASSERT_TRUE (regular.getFile().createSymbolicLink (link.getFile(), true));
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getFullPathName();

    struct Case { juce::String path; juce::String outcome; };

    const Case cases[] = {
        { pipe.getPath(),                      notARegularFile ("a pipe", pipe.getPath()) },
        { socket.getPath(),                    notARegularFile ("a socket", socket.getPath()) },
        { "/dev/zero",                         notARegularFile ("a device", "/dev/zero") },
        { folder,                              notARegularFile ("a folder", folder) },
        { link.getFile().getFullPathName(),    "no refusal, data" },
    };

    for (const auto& c : cases)
    {
        ReportRecorder texts;
        EXPECT_EQ (refusalOf (c.path, FileDownloader::Sources::webAndLocalFiles, &texts), c.outcome) << c.path;
    }

    EXPECT_FALSE (pipe.aReaderWaited());
}

TEST_F (HostileDownload, APipeNamedAsCatalogueOrImageIsRefusedAndNeitherWorkerWaitsOnIt)
{
    const PipeInTheWay pipe;
    TargetsInfoDownloadThread catalogueThread ({ pipe.getPath(), server.getUrl ("/UpdateTargets.xml") }, nullptr, nullptr);
    DownloadImageThread imageThread (pipe.getPath(), FileDownloader::Sources::webAndLocalFiles, nullptr, nullptr);
    catalogueThread.startThread();
    imageThread.startThread();
    ASSERT_TRUE (catalogueThread.waitForThreadToExit (10000));
    ASSERT_TRUE (imageThread.waitForThreadToExit (10000));

    EXPECT_EQ (catalogueThread.getStatus(), TargetsResult::TargetsParseError);
    EXPECT_EQ (catalogueThread.getErrorMessage(), notARegularFile ("a pipe", pipe.getPath()));
    EXPECT_EQ (imageThread.getStatus(), DownloadImageThread::ImageRefused);
    EXPECT_EQ (imageThread.getErrorMessage(), notARegularFile ("a pipe", pipe.getPath()));
    EXPECT_TRUE (server.getRequests().empty());
    EXPECT_FALSE (pipe.aReaderWaited());
}

TEST_F (HostileDownload, AServerOnTheInternetCannotRedirectADownloadIntoTheUsersOwnNetwork)
{
    // The test's server stands in for one on the internet, and one name for a host that
    // cannot be looked up; everything else on this computer is the user's own network,
    // as it is for the program.
    LoopbackServer internal;
    const auto port = juce::String (internal.getPort());
    const auto reachOf = [this] (const juce::String& address, const std::function<bool()>& shouldStop)
    {
        if (address.startsWith (server.getUrl ("/")))
            return PublicAddress::Reach::internet;

        return address.contains ("unknown.example") ? PublicAddress::Reach::unknown
                                                    : PublicAddress::reachOf (address, shouldStop);
    };
    const FileDownloader fromTheInternet (testLimit, FileDownloader::Sources::webOnly, shortTimeoutMs,
                                          FileDownloader::defaultSlowestRate, reachOf);
    const FileDownloader fromThisComputer (testLimit, FileDownloader::Sources::webOnly, shortTimeoutMs);
    server.setAnswer ("/image.bin", LoopbackServer::Answer::withData (makeTestData (3000)));
    internal.setAnswer ("/image.bin", LoopbackServer::Answer::withData (makeTestData (3000)));

    const juce::String intoLocalNetwork ("The server redirected the download from the internet into a local network, "
                                         "which is not allowed: ");
    const juce::String followed ("no refusal, data");
    const auto reboot = ":" + port + "/admin/reboot?now=1";

    struct Case { const FileDownloader& downloader; juce::String location; juce::String outcome; };

    const Case cases[] = {
        { fromTheInternet,  internal.getUrl ("/admin/reboot?now=1"),     intoLocalNetwork },
        { fromTheInternet,  "http://localhost" + reboot,                 intoLocalNetwork },
        { fromTheInternet,  "http://LocalHost." + reboot,                intoLocalNetwork },
        { fromTheInternet,  "http://2130706433" + reboot,                intoLocalNetwork },
        { fromTheInternet,  "http://0x7f.1" + reboot,                    intoLocalNetwork },
        { fromTheInternet,  "http://127.1" + reboot,                     intoLocalNetwork },
        { fromTheInternet,  "http://[::ffff:127.0.0.1]" + reboot,        intoLocalNetwork },
        { fromTheInternet,  "http://[::1]" + reboot,                     intoLocalNetwork },
        { fromTheInternet,  "http://unknown.example" + reboot,
                            "The server redirected the download to a host that could not be looked up: " },
        { fromTheInternet,  "/image.bin",                                followed },
        { fromThisComputer, internal.getUrl ("/image.bin"),              followed },
    };

    for (const auto& c : cases)
    {
        server.setAnswer ("/moved.bin", LoopbackServer::Answer::redirectTo (c.location));

        EXPECT_EQ (refusalOf (c.downloader, server.getUrl ("/moved.bin")),
                   c.outcome == followed ? followed : c.outcome + c.location)
            << c.location;
    }

    const auto reached = internal.getRequests();
    ASSERT_EQ (reached.size(), 1u);
    EXPECT_EQ (reached[0].target, "/image.bin");
}

TEST_F (HostileDownload, AServerThatTricklesTheFileIsHeldToTheDeadlineItsSizeLimitGives)
{
    // Three seconds to connect and one for the most this downloader accepts, 64 KB at
    // 64 KB a second. The trickling server keeps well above the stall limit and would
    // take twenty seconds. The one that falls silent after 4 KB (over a second of
    // trickling, at the end of a chunk) leaves a read waiting until the stall limit,
    // past the deadline, with no chunk in between after which the clock is looked at.
    const FileDownloader downloader (testLimit, FileDownloader::Sources::webOnly, 3000, 64 * 1024);
    const juce::String tooLong ("The download took longer than 4 seconds, the most this program waits for it");

    struct Case { const char* name; int pauseMs; std::optional<size_t> silentAfter; juce::String outcome; };

    const Case cases[] = {
        { "trickling",                 20, std::nullopt, tooLong },
        { "trickling, then silent",    20, 4096,         tooLong },
        { "steady",                    0,  std::nullopt, "no refusal, data" },
    };

    for (const auto& c : cases)
    {
        auto answer = LoopbackServer::Answer::withData (makeTestData ((size_t) testLimit));
        answer.pieceSize = 64;
        answer.pauseBetweenPiecesMs = c.pauseMs;
        answer.stallAfter = c.silentAfter;
        server.setAnswer ("/trickle.bin", answer);

        EXPECT_EQ (refusalOf (downloader, server.getUrl ("/trickle.bin")), c.outcome) << c.name;
    }
}
