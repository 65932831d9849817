#include <gtest/gtest.h>

#include "catalogue/FileDownloader.h"
#include "tests/catalogue/TestData.h"
#include "tests/support/ReportRecorder.h"
#include "tests/support/UserTexts.h"

namespace
{
    bool abortAtOnce (void*) { return true; }

    struct LocalDownload : public ::testing::Test
    {
        std::unique_ptr<juce::MemoryBlock> download (FileDownloader::ShouldAbortCallback abort = nullptr)
        {
            return FileDownloader().download (file.getFile().getFullPathName(), abort, nullptr, &reporter);
        }

        juce::TemporaryFile file;
        ReportRecorder reporter;
    };
}

TEST (FileDownloaderSources, SlashBackslashOrDriveLetterMakeALocalFile)
{
    for (const auto* source : { "/opt/quillon/UpdateTargets.xml", "\\\\server\\share\\UpdateTargets.xml",
                                "\\UpdateTargets.xml", "C:\\Quillon\\UpdateTargets.xml", "c:", "z:/x" })
        EXPECT_TRUE (FileDownloader::isLocalFile (source)) << source;
}

TEST (FileDownloaderSources, EverythingElseIsAUrl)
{
    for (const auto* source : { "http://updates.tesmar-audio.com/updater/common/config/UpdateTargets.xml",
                                "file:///tmp/x", "1:", "9:\\x", ":", "C", "", "updates/x", "@:", "[:" })
        EXPECT_FALSE (FileDownloader::isLocalFile (source)) << source;

    EXPECT_FALSE (FileDownloader::isLocalFile (juce::String::fromUTF8 ("\xc3\xa9:\\x"))) << "a letter, but not ASCII";
}

TEST (FileDownloaderProgress, TextsSwitchUnitsAtOneKilobyteAndOneMegabyte)
{
    EXPECT_EQ (FileDownloader::describeProgress (1), "Downloaded 1 bytes...");
    EXPECT_EQ (FileDownloader::describeProgress (1023), "Downloaded 1023 bytes...");
    EXPECT_EQ (FileDownloader::describeProgress (1024), "Downloaded 1 KB...");
    EXPECT_EQ (FileDownloader::describeProgress (2047), "Downloaded 1 KB...");
    EXPECT_EQ (FileDownloader::describeProgress (1048575), "Downloaded 1023 KB...");
    EXPECT_EQ (FileDownloader::describeProgress (1048576), "Downloaded 1.000 MB...");
    EXPECT_EQ (FileDownloader::describeProgress (1572864), "Downloaded 1.500 MB...");
    EXPECT_EQ (FileDownloader::describeProgress (3 * 1048576 + 1), "Downloaded 3.000 MB...");
}

TEST_F (LocalDownload, ReadsTheWholeFileInKilobyteChunks)
{
    const auto content = makeTestData (2500);
    ASSERT_TRUE (file.getFile().replaceWithData (content.getData(), content.getSize()));

    const auto data = download();

    ASSERT_NE (data, nullptr);
    EXPECT_EQ (*data, content);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting, "Downloaded 1 KB...", "Downloaded 2 KB...",
                                                               "Downloaded 2 KB...", UserTexts::downloadComplete }));
}

TEST_F (LocalDownload, AnEmptyFileGivesAnEmptyBlockNotNothing)
{
    ASSERT_TRUE (file.getFile().create().wasOk());

    const auto data = download();

    ASSERT_NE (data, nullptr);
    EXPECT_EQ (data->getSize(), 0u);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting, UserTexts::downloadComplete }));
}

TEST_F (LocalDownload, AMissingFileGivesNothingAndNoTextAfterConnecting)
{
    EXPECT_EQ (download(), nullptr);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting }));
}

TEST_F (LocalDownload, AnAbortAtOnceStillStoresTheFirstChunkThenGivesNothing)
{
    const auto content = makeTestData (4096);
    ASSERT_TRUE (file.getFile().replaceWithData (content.getData(), content.getSize()));

    EXPECT_EQ (download (abortAtOnce), nullptr);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting, "Downloaded 1 KB...", UserTexts::downloadAborted }));
}

TEST (FileDownloaderLocal, AWindowsPathIsNoFile)
{
    ReportRecorder reporter;

    EXPECT_EQ (FileDownloader().download ("C:\\Quillon\\UpdateTargets.xml", nullptr, nullptr, &reporter), nullptr);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::connecting }));
}

TEST (FileDownloaderLocal, WithoutAReporterTheResultIsTheSame)
{
    juce::TemporaryFile file;
    const auto content = makeTestData (1500);
    ASSERT_TRUE (file.getFile().replaceWithData (content.getData(), content.getSize()));
    const auto path = file.getFile().getFullPathName();
    const FileDownloader downloader;

    const auto data = downloader.download (path, nullptr, nullptr, nullptr);
    ASSERT_NE (data, nullptr);
    EXPECT_EQ (*data, content);
    EXPECT_EQ (downloader.download (path, abortAtOnce, nullptr, nullptr), nullptr);
}
