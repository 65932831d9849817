#include <gtest/gtest.h>

#include "catalogue/TargetsInfoDownloadThread.h"
#include "server/LoopbackServer.h"
#include "tests/catalogue/ModalLoop.h"
#include "tests/catalogue/RecordingReporter.h"
#include "tests/catalogue/TestData.h"

namespace
{
    const char* const oneProduct =
        "<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\"><Product Name=\"Hall Reverb\" ProductID=\"2\"/>"
        "</Family></Brand></Config>";

    struct Outcome
    {
        int loopResult = 0;
        TargetsResult status = TargetsResult::TargetsNotFound;
        juce::String errorMessage;
        std::unique_ptr<TargetsInfo> catalogue;
    };

    struct TargetsDownload : public ::testing::Test
    {
        // The controller's hand-shake: modal first, then the worker, then the loop.
        Outcome fetch (const juce::StringArray& sources)
        {
            page.enterModalState (false);
            TargetsInfoDownloadThread thread (sources, &page, &reporter);
            thread.startThread();

            Outcome outcome;
            outcome.loopResult = runModalLoopWithLimit (page);
            EXPECT_TRUE (thread.waitForThreadToExit (3000));
            outcome.status = thread.getStatus();
            outcome.errorMessage = thread.getErrorMessage();
            outcome.catalogue = thread.takeCatalogue();
            return outcome;
        }

        juce::String writeLocalFile (const juce::String& text)
        {
            localFile.getFile().replaceWithText (text);
            return localFile.getFile().getFullPathName();
        }

        /** Has the server answer with these bytes as they are, and returns the address. */
        juce::String serveBytes (const std::string& bytes)
        {
            auto answer = LoopbackServer::Answer::withData ({});
            answer.body.append (bytes.data(), bytes.size());
            server.setAnswer ("/UpdateTargets.xml", answer);
            return server.getUrl ("/UpdateTargets.xml");
        }

        juce::String missingLocalFile() const
        {
            return localFile.getFile().getFullPathName();
        }

        juce::Component page;
        RecordingReporter reporter;
        LoopbackServer server;
        juce::TemporaryFile localFile { ".xml" };
    };
}

TEST_F (TargetsDownload, AReadableFileBesideTheProgramIsUsedAndTheServerIsNotAsked)
{
    server.setAnswer ("/UpdateTargets.xml", LoopbackServer::Answer::withText ("<Config/>"));

    const auto outcome = fetch ({ writeLocalFile (oneProduct), server.getUrl ("/UpdateTargets.xml") });

    EXPECT_EQ (outcome.loopResult, 1);
    EXPECT_EQ (outcome.status, TargetsResult::TargetsOk);
    ASSERT_NE (outcome.catalogue, nullptr);
    EXPECT_EQ (outcome.catalogue->products.getFirst()->name, "Hall Reverb");
    EXPECT_TRUE (outcome.catalogue->cameFromLocalFile);
    EXPECT_TRUE (server.getRequests().empty());
    EXPECT_EQ (reporter.getTexts(), juce::StringArray ("Locating targets file...", "Connecting...",
                                                       FileDownloader::describeProgress (juce::String (oneProduct).length()), "Download is complete"));
}

TEST_F (TargetsDownload, ALocalFileThatIsNotATargetsFileFailsAndTheServerIsNotTried)
{
    server.setAnswer ("/UpdateTargets.xml", LoopbackServer::Answer::withText (oneProduct));

    // An empty file once gave an empty message: the results page said nothing about it.
    const std::pair<const char*, const char*> cases[] = {
        { "<Config><Brand></Config>", "Mismatched tag at line 1, column 18" },
        { "not xml", "Syntax error at line 1, column 1" },
        { "<Brand/>", "Invalid element encountered. Expecting Config" },
        { "", "The file is empty" },
        { " \n ", "The file is empty" },
    };

    for (const auto& [text, message] : cases)
    {
        const auto outcome = fetch ({ writeLocalFile (text), server.getUrl ("/UpdateTargets.xml") });

        EXPECT_EQ (outcome.loopResult, 1);
        EXPECT_EQ (outcome.status, TargetsResult::TargetsParseError);
        EXPECT_EQ (outcome.errorMessage, message) << text;
        EXPECT_EQ (outcome.catalogue, nullptr);
    }

    EXPECT_TRUE (server.getRequests().empty());
}

TEST_F (TargetsDownload, WithoutALocalFileTheServerIsAskedWithTheNoCacheRequest)
{
    server.setAnswer ("/updater/common/config/UpdateTargets.xml", LoopbackServer::Answer::withText (oneProduct));
    const auto address = server.getUrl ("/updater/common/config/UpdateTargets.xml?nocache=6+Dec+2026+7%3a42%3a37+pm");

    const auto outcome = fetch ({ missingLocalFile(), address });

    EXPECT_EQ (outcome.status, TargetsResult::TargetsOk);
    ASSERT_NE (outcome.catalogue, nullptr);
    EXPECT_FALSE (outcome.catalogue->cameFromLocalFile);
    ASSERT_EQ (server.getRequests().size(), 1u);
    EXPECT_EQ (server.getRequests()[0].target, address.fromFirstOccurrenceOf (juce::String (server.getPort()), false, false));
    EXPECT_EQ (server.getRequests()[0].headers["Cache-Control"], "No-cache");
    EXPECT_EQ (reporter.getTexts(), juce::StringArray ("Locating targets file...", "Connecting...",
                                                       "Locating targets file...", "Connecting...",
                                                       FileDownloader::describeProgress (juce::String (oneProduct).length()), "Download is complete"));
}

TEST_F (TargetsDownload, AnHtmlPageCountsAsNoFileAndTheNextSourceIsTried)
{
    server.setAnswer ("/second.xml", LoopbackServer::Answer::withText (oneProduct));

    const auto outcome = fetch ({ server.getUrl ("/missing.xml"), server.getUrl ("/second.xml") });

    EXPECT_EQ (outcome.status, TargetsResult::TargetsOk);
    EXPECT_EQ (server.getRequests().size(), 2u);
}

TEST_F (TargetsDownload, AnHtmlPageInLowerCaseIsHandedToTheParserAndNoMoreSourcesAreTried)
{
    server.setAnswer ("/first.xml", LoopbackServer::Answer::withText ("<!doctype html><html><body>Moved</body></html>"));
    server.setAnswer ("/second.xml", LoopbackServer::Answer::withText (oneProduct));

    const auto outcome = fetch ({ server.getUrl ("/first.xml"), server.getUrl ("/second.xml") });

    EXPECT_EQ (outcome.status, TargetsResult::TargetsParseError);
    EXPECT_EQ (outcome.errorMessage, "Syntax error at line 1, column 1");
    EXPECT_EQ (server.getRequests().size(), 1u);
}

TEST_F (TargetsDownload, TheTextEndsAtTheFirstZeroByte)
{
    auto answer = LoopbackServer::Answer::withText (oneProduct);
    answer.body.append ("\0<<< not xml", 12);
    server.setAnswer ("/UpdateTargets.xml", answer);

    const auto outcome = fetch ({ server.getUrl ("/UpdateTargets.xml") });

    EXPECT_EQ (outcome.status, TargetsResult::TargetsOk);
}

TEST_F (TargetsDownload, TextThatIsNotUtf8IsReadAsWindows1252)
{
    const auto outcome = fetch ({ serveBytes ("<Config><Brand Name=\"Calvio\"><Family><Product Name=\"R\xe9verb \x80\"/>"
                                              "</Family></Brand></Config>") });

    ASSERT_EQ (outcome.status, TargetsResult::TargetsOk);
    EXPECT_EQ (outcome.catalogue->products[0]->name, juce::String::fromUTF8 ("R\xc3\xa9verb \xe2\x82\xac"));
}

// Found by fuzzing: the earlier XML reader trusted a sequence's first byte for its
// length and ran past the text. The bytes reach the parser as Windows-1252 text.
TEST_F (TargetsDownload, Utf8SequenceCutShortAtTheEndIsNotReadPast)
{
    const auto outcome = fetch ({ serveBytes ("<Config><Brand Name=\"\xc3\"><Family\xff/></Brand></Config>\xe2\x82") });

    EXPECT_EQ (outcome.status, TargetsResult::TargetsParseError);
    EXPECT_EQ (outcome.errorMessage, "Not well-formed (invalid token) at line 1, column 53");
}

TEST_F (TargetsDownload, NoSourceDeliveringATextLeavesNotFound)
{
    const auto refused = [] { LoopbackServer stopped; return stopped.getUrl ("/UpdateTargets.xml"); }();

    const auto outcome = fetch ({ missingLocalFile(), refused, server.getUrl ("/gone.xml") });

    EXPECT_EQ (outcome.loopResult, 1);
    EXPECT_EQ (outcome.status, TargetsResult::TargetsNotFound);
    EXPECT_EQ (outcome.errorMessage, "");
    EXPECT_EQ (outcome.catalogue, nullptr);
}

TEST_F (TargetsDownload, AnEmptyListOfSourcesLeavesNotFound)
{
    const auto outcome = fetch ({});

    EXPECT_EQ (outcome.loopResult, 1);
    EXPECT_EQ (outcome.status, TargetsResult::TargetsNotFound);
    EXPECT_TRUE (reporter.getTexts().isEmpty());
}

TEST_F (TargetsDownload, CancelStopsTheWaitingDownloadAndTheNextSourceAfterItsFirstChunk)
{
    auto stalled = LoopbackServer::Answer::withData (makeTestData (8000));
    stalled.stallAfter = 2048;
    server.setAnswer ("/stalled.xml", stalled);
    const auto local = writeLocalFile (juce::String::repeatedString (" ", 3000) + oneProduct);
    juce::Timer::callAfterDelay (300, [this] { page.exitModalState (0); });
    const auto start = juce::Time::getMillisecondCounter();

    const auto outcome = fetch ({ server.getUrl ("/stalled.xml"), local });

    EXPECT_LT (juce::Time::getMillisecondCounter() - start, 2500u);
    EXPECT_EQ (outcome.loopResult, 0);
    EXPECT_EQ (outcome.status, TargetsResult::TargetsNotFound);
    EXPECT_EQ (reporter.getTexts(), juce::StringArray ({ "Locating targets file...", "Connecting...",
                                                         "Downloaded 1 KB...", "Downloaded 2 KB...", "Download was aborted",
                                                         "Locating targets file...", "Connecting...",
                                                         "Downloaded 1 KB...", "Download was aborted" }));
}

TEST_F (TargetsDownload, AThreadToldToExitStopsPromptlyAndTriesNoFurtherSource)
{
    auto stalled = LoopbackServer::Answer::withData (makeTestData (100));
    stalled.stallAfter = 0;
    server.setAnswer ("/stalled.xml", stalled);
    server.setAnswer ("/next.xml", LoopbackServer::Answer::withText (oneProduct));

    TargetsInfoDownloadThread thread ({ server.getUrl ("/stalled.xml"), server.getUrl ("/next.xml") }, nullptr, &reporter);
    thread.startThread();
    juce::Thread::sleep (300);
    const auto start = juce::Time::getMillisecondCounter();

    EXPECT_TRUE (thread.stopThread (3000));

    EXPECT_LT (juce::Time::getMillisecondCounter() - start, 2000u);
    EXPECT_EQ (thread.getStatus(), TargetsResult::TargetsNotFound);
    EXPECT_EQ (server.getRequests().size(), 1u);
    EXPECT_TRUE (reporter.getTexts().contains ("Download was aborted"));
}

TEST_F (TargetsDownload, AThreadToldToExitOnceTheTextIsDownloadedStopsTheParseAndKeepsNoCatalogue)
{
    struct ExitOnceDownloaded : public StatusReporter
    {
        void reportStatus (const juce::String& text) override
        {
            if (text == "Download is complete")
                thread->signalThreadShouldExit();
        }

        juce::Thread* thread = nullptr;
    };

    const auto largeCatalogue = "<Config>" + juce::String::repeatedString ("<Brand Name=\"Calvio\"/>", 100000) + "</Config>";
    ExitOnceDownloaded exitOnceDownloaded;
    TargetsInfoDownloadThread thread ({ writeLocalFile (largeCatalogue) }, nullptr, &exitOnceDownloaded);
    exitOnceDownloaded.thread = &thread;
    thread.startThread();

    EXPECT_TRUE (thread.waitForThreadToExit (10000));
    EXPECT_EQ (thread.getStatus(), TargetsResult::TargetsNotFound);
    EXPECT_EQ (thread.getErrorMessage(), "");
    EXPECT_EQ (thread.takeCatalogue(), nullptr);
}

TEST_F (TargetsDownload, WithoutPageOrReporterTheCatalogueIsStillBuilt)
{
    TargetsInfoDownloadThread thread ({ writeLocalFile (oneProduct) }, nullptr, nullptr);
    thread.startThread();

    ASSERT_TRUE (thread.waitForThreadToExit (3000));
    EXPECT_EQ (thread.getStatus(), TargetsResult::TargetsOk);
    EXPECT_NE (thread.takeCatalogue(), nullptr);
    EXPECT_EQ (thread.takeCatalogue(), nullptr);
}

TEST_F (TargetsDownload, APageWithoutAReporterStillHasItsModalStateEnded)
{
    page.enterModalState (false);
    TargetsInfoDownloadThread thread ({ writeLocalFile (oneProduct) }, &page, nullptr);
    thread.startThread();

    EXPECT_EQ (runModalLoopWithLimit (page), 1);
    EXPECT_TRUE (thread.waitForThreadToExit (3000));
    EXPECT_EQ (thread.getStatus(), TargetsResult::TargetsOk);
}
