#include <atomic>
#include <thread>
#include <gtest/gtest.h>

#include "catalogue/FileDownloader.h"
#include "server/LoopbackServer.h"
#include "tests/catalogue/TestData.h"
#include "tests/support/ReportRecorder.h"
#include "tests/support/UserTexts.h"

namespace
{
    bool abortWhenSet (void* context)
    {
        return static_cast<std::atomic<bool>*> (context)->load();
    }

    // Sets the flag after a pause, from a thread of its own, as a Cancel button would.
    struct DelayedAbort
    {
        explicit DelayedAbort (int delayMs)
            : setter ([this, delayMs] { std::this_thread::sleep_for (std::chrono::milliseconds (delayMs)); flag = true; })
        {
        }

        ~DelayedAbort() { setter.join(); }

        std::atomic<bool> flag { false };
        std::thread setter;
    };

    struct HttpDownload : public ::testing::Test
    {
        std::unique_ptr<juce::MemoryBlock> download (const juce::String& path,
                                                     std::atomic<bool>* abort = nullptr,
                                                     const FileDownloader& downloader = FileDownloader())
        {
            return downloader.download (server.getUrl (path), abort != nullptr ? abortWhenSet : nullptr,
                                        abort, &reporter);
        }

        // The answer stops after stallAfter bytes; Cancel comes 300 ms after the start.
        // Returns how many seconds the download took.
        double cancelDownloadThatStallsAfter (size_t stallAfter)
        {
            auto answer = LoopbackServer::Answer::withData (makeTestData (8000));
            answer.stallAfter = stallAfter;
            server.setAnswer ("/stall.bin", answer);
            DelayedAbort cancel (300);
            const auto start = juce::Time::getMillisecondCounter();

            EXPECT_EQ (download ("/stall.bin", &cancel.flag), nullptr);
            return (juce::Time::getMillisecondCounter() - start) / 1000.0;
        }

        LoopbackServer server;
        ReportRecorder reporter;
    };

    double secondsSince (juce::uint32 startMs)
    {
        return (juce::Time::getMillisecondCounter() - startMs) / 1000.0;
    }
}

TEST_F (HttpDownload, SendsOnePlainGetWithTheNoCacheHeaderAndTheAddressAsGiven)
{
    server.setAnswer ("/updater/common/config/UpdateTargets.xml", LoopbackServer::Answer::withText ("<Config/>"));

    const auto data = download ("/updater/common/config/UpdateTargets.xml?nocache=6+Dec+2026+7%3a42%3a37+pm");

    ASSERT_NE (data, nullptr);
    EXPECT_EQ (data->toString(), "<Config/>");
    EXPECT_EQ (reporter.getStatusTexts(),
               juce::StringArray ({ UserTexts::connecting, "Downloaded 9 bytes...", UserTexts::downloadComplete }));

    const auto requests = server.getRequests();
    ASSERT_EQ (requests.size(), 1u);
    EXPECT_EQ (requests[0].target, "/updater/common/config/UpdateTargets.xml?nocache=6+Dec+2026+7%3a42%3a37+pm");
    EXPECT_EQ (requests[0].headers["Cache-Control"], "No-cache");
}

TEST_F (HttpDownload, ABodySentInManySmallPiecesArrivesWhole)
{
    auto answer = LoopbackServer::Answer::withData (makeTestData (5000));
    answer.pieceSize = 7;
    answer.announceLength = false;
    server.setAnswer ("/image.bin", answer);

    const auto data = download ("/image.bin");

    ASSERT_NE (data, nullptr);
    EXPECT_EQ (*data, makeTestData (5000));
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting, "Downloaded 1 KB...", "Downloaded 2 KB...",
                                                               "Downloaded 3 KB...", "Downloaded 4 KB...", "Downloaded 4 KB...",
                                                               UserTexts::downloadComplete }));
}

TEST_F (HttpDownload, AnErrorPageIsReturnedLikeAnyOtherBody)
{
    const auto data = download ("/no/such/file.bin");

    ASSERT_NE (data, nullptr);
    EXPECT_TRUE (data->toString().startsWith ("<!DOCTYPE HTML"));
    EXPECT_EQ (reporter.getStatusTexts().getReference (reporter.getStatusTexts().size() - 1), UserTexts::downloadComplete);
}

TEST_F (HttpDownload, AnEmptyBodyGivesAnEmptyBlock)
{
    server.setAnswer ("/empty", LoopbackServer::Answer::withText ({}));

    const auto data = download ("/empty");

    ASSERT_NE (data, nullptr);
    EXPECT_EQ (data->getSize(), 0u);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting, UserTexts::downloadComplete }));
}

TEST_F (HttpDownload, ARefusedConnectionGivesNothingAfterConnecting)
{
    const auto refusedUrl = [] { LoopbackServer stopped; return stopped.getUrl ("/x"); }();

    EXPECT_EQ (FileDownloader().download (refusedUrl, nullptr, nullptr, &reporter), nullptr);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting }));
}

TEST_F (HttpDownload, ABodyCutShortOfItsAnnouncedLengthIsAFailedDownload)
{
    auto answer = LoopbackServer::Answer::withData (makeTestData (4000));
    answer.closeAfter = 2500;
    server.setAnswer ("/cut.bin", answer);

    EXPECT_EQ (download ("/cut.bin"), nullptr);
    EXPECT_FALSE (reporter.getStatusTexts().contains (UserTexts::downloadComplete));
    EXPECT_TRUE (reporter.getStatusTexts().contains ("Downloaded 2 KB..."));
}

TEST_F (HttpDownload, AChunkedBodyThatEndsWithoutItsLastChunkIsAFailedDownload)
{
    auto answer = LoopbackServer::Answer::withData (makeTestData (4000));
    answer.announceLength = false;
    answer.pieceSize = 500;
    answer.closeAfter = 3000;
    server.setAnswer ("/cut.bin", answer);

    EXPECT_EQ (download ("/cut.bin"), nullptr);
    EXPECT_FALSE (reporter.getStatusTexts().contains (UserTexts::downloadComplete));
}

TEST_F (HttpDownload, AnAbortAtOnceGivesNothingAndSaysSo)
{
    server.setAnswer ("/image.bin", LoopbackServer::Answer::withData (makeTestData (3000)));
    std::atomic<bool> abort { true };

    EXPECT_EQ (download ("/image.bin", &abort), nullptr);
    EXPECT_EQ (reporter.getStatusTexts().getReference (reporter.getStatusTexts().size() - 1), UserTexts::downloadAborted);
    EXPECT_FALSE (reporter.getStatusTexts().contains (UserTexts::downloadComplete));
}

TEST_F (HttpDownload, AnAbortEndsAReadThatWaitsForAStalledServerPromptly)
{
    EXPECT_LT (cancelDownloadThatStallsAfter (2048), 2.5);

    EXPECT_TRUE (reporter.getStatusTexts().contains ("Downloaded 2 KB..."));
    EXPECT_EQ (reporter.getStatusTexts().getReference (reporter.getStatusTexts().size() - 1), UserTexts::downloadAborted);
}

TEST_F (HttpDownload, AnAbortEndsARequestThatNeverGetsAnAnswerPromptly)
{
    EXPECT_LT (cancelDownloadThatStallsAfter (0), 2.5);

    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting, UserTexts::downloadAborted }));
}

TEST_F (HttpDownload, AServerThatStopsSendingFailsTheDownloadAfterTheTimeOut)
{
    auto answer = LoopbackServer::Answer::withData (makeTestData (8000));
    answer.stallAfter = 50;
    server.setAnswer ("/stall.bin", answer);
    const auto start = juce::Time::getMillisecondCounter();

    EXPECT_EQ (download ("/stall.bin", nullptr, FileDownloader (FileDownloader::defaultSizeLimit, FileDownloader::Sources::webOnly, 1000)), nullptr);

    EXPECT_LT (secondsSince (start), 4.0);
    EXPECT_TRUE (reporter.getStatusTexts().contains ("Downloaded 50 bytes..."));
    EXPECT_FALSE (reporter.getStatusTexts().contains (UserTexts::downloadComplete));
    EXPECT_FALSE (reporter.getStatusTexts().contains (UserTexts::downloadAborted));
}
