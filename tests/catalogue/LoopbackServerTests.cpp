#include <atomic>
#include <gtest/gtest.h>

#include "catalogue/FileDownloader.h"
#include "server/LoopbackServer.h"
#include "tests/catalogue/TestData.h"

namespace
{
    bool abortAtOnce (void*) { return true; }

    struct ServedFolder : public ::testing::Test
    {
        ServedFolder()
        {
            folder.getChildFile ("updater/a.bin").create();
            folder.getChildFile ("updater/a.bin").replaceWithText ("file a");
            folder.getSiblingFile (folder.getFileName() + "-secret.txt").replaceWithText ("secret");
            server.serveFolder (folder);
        }

        ~ServedFolder() override
        {
            folder.getSiblingFile (folder.getFileName() + "-secret.txt").deleteFile();
            folder.deleteRecursively();
        }

        juce::String fetch (const juce::String& path)
        {
            const auto data = FileDownloader().download (server.getUrl (path), nullptr, nullptr, nullptr);
            return data != nullptr ? data->toString() : "(nothing)";
        }

        juce::File folder { juce::File::createTempFile ("served") };
        LoopbackServer server;
    };
}

TEST_F (ServedFolder, ServesItsFilesAndA404PageForOthers)
{
    EXPECT_EQ (fetch ("/updater/a.bin"), "file a");
    EXPECT_TRUE (fetch ("/updater/b.bin").startsWith ("<!DOCTYPE HTML PUBLIC"));
    EXPECT_TRUE (fetch ("/updater").startsWith ("<!DOCTYPE HTML PUBLIC"));
}

TEST_F (ServedFolder, RefusesPathsThatLeadOutOfTheFolder)
{
    // Escaped dots reach the server as they are; the server decodes them to "..".
    const auto escape = "/updater/%2e%2e/%2e%2e/" + folder.getFileName() + "-secret.txt";

    EXPECT_TRUE (fetch (escape).startsWith ("<!DOCTYPE HTML PUBLIC"));
    EXPECT_EQ (server.getRequests().back().target, escape);
}

TEST_F (ServedFolder, AScriptedAnswerComesBeforeTheFile)
{
    server.setAnswer ("/updater/a.bin", LoopbackServer::Answer::withText ("scripted"));

    EXPECT_EQ (fetch ("/updater/a.bin?nocache=1"), "scripted");
    EXPECT_EQ (server.getRequests().size(), 1u);
}

TEST (LoopbackServerAnswers, AClientThatHangsUpMidBodyLeavesTheServerAnswering)
{
    LoopbackServer server;
    auto answer = LoopbackServer::Answer::withData (makeTestData (8 * 1024 * 1024));
    answer.pieceSize = 4096;
    server.setAnswer ("/big.bin", answer);
    server.setAnswer ("/small", LoopbackServer::Answer::withText ("still here"));
    const FileDownloader downloader;

    EXPECT_EQ (downloader.download (server.getUrl ("/big.bin"), abortAtOnce, nullptr, nullptr), nullptr);

    const auto data = downloader.download (server.getUrl ("/small"), nullptr, nullptr, nullptr);
    ASSERT_NE (data, nullptr);
    EXPECT_EQ (data->toString(), "still here");
}
