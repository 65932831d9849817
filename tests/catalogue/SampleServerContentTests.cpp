#include <gtest/gtest.h>

#include "catalogue/CataloguePublicKey.h"
#include "catalogue/ExpectedImage.h"
#include "catalogue/FileDownloader.h"
#include "catalogue/TargetsFileParser.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "catalogue/TargetsSources.h"
#include "server/LoopbackServer.h"

namespace
{
    const juce::File contentFolder (QUILLON_SERVER_CONTENT_DIR);

    juce::uint32 readBigEndian (const juce::MemoryBlock& data, size_t offset)
    {
        return juce::ByteOrder::bigEndianInt (static_cast<const char*> (data.getData()) + offset);
    }

    // The generated folder, served as the update server would serve it; only the
    // host in its addresses becomes this server's loopback address.
    struct SampleServer : public ::testing::Test
    {
        SampleServer()
        {
            server.serveFolder (contentFolder);
            const auto catalogue = contentFolder.getChildFile ("updater/common/config/UpdateTargets.xml")
                                       .loadFileAsString()
                                       .replace ("http://" QUILLON_UPDATE_HOST "/", server.getUrl ("/"));
            server.setAnswer ("/updater/common/config/UpdateTargets.xml",
                              LoopbackServer::Answer::withText (catalogue, 200, "text/xml"));
        }

        std::unique_ptr<TargetsInfo> fetchCatalogue()
        {
            const auto sources = TargetsSources::build (contentFolder.getChildFile ("no-such-folder"),
                                                        "127.0.0.1:" + juce::String (server.getPort()),
                                                        juce::Time::getCurrentTime());
            TargetsInfoDownloadThread thread (sources, nullptr, nullptr);
            thread.startThread();
            EXPECT_TRUE (thread.waitForThreadToExit (5000));
            EXPECT_EQ (thread.getStatus(), TargetsResult::TargetsOk) << thread.getErrorMessage();
            return thread.takeCatalogue();
        }

        std::unique_ptr<juce::MemoryBlock> fetch (const juce::String& url) const
        {
            return FileDownloader().download (url, nullptr, nullptr, nullptr);
        }

        template <typename Check>
        void forEachRevision (const TargetsInfo& catalogue, Check check) const
        {
            for (auto* product : catalogue.products)
                for (auto* revision : product->revisions)
                    check (*product, *revision);
        }

        const TargetProduct* find (const TargetsInfo& catalogue, TargetBrand brand, int familyId, int productId) const
        {
            for (auto* product : catalogue.products)
                if (product->brand == brand && product->familyId == familyId && product->productId == productId)
                    return product;

            return nullptr;
        }

        LoopbackServer server;
    };
}

TEST_F (SampleServer, TheCatalogueHoldsBothBrandsAndTheSpecialModels)
{
    const auto catalogue = fetchCatalogue();
    ASSERT_NE (catalogue, nullptr);

    EXPECT_NE (find (*catalogue, TargetBrand::Calvio, 0x1A, 1), nullptr);
    EXPECT_NE (find (*catalogue, TargetBrand::Calvio, 0x1A, 2), nullptr);
    EXPECT_NE (find (*catalogue, TargetBrand::Brisma, 0x5C, 4), nullptr);

    int withPre = 0, withPost = 0, revisions = 0;

    for (auto* product : catalogue->products)
    {
        EXPECT_FALSE (product->ports.isEmpty()) << product->name;
        EXPECT_GE (product->revisions.size(), 2) << product->name;
        withPre += product->specialPreInstructions.isNotEmpty() ? 1 : 0;
    }

    forEachRevision (*catalogue, [&] (const TargetProduct&, const TargetRevision& revision)
    {
        ++revisions;
        withPost += revision.specialPostInstructions.isNotEmpty() ? 1 : 0;
        EXPECT_TRUE (revision.releaseNotesUrl.startsWith (server.getUrl ("/updater/")));
    });

    EXPECT_GT (withPre, 0);
    EXPECT_LT (withPre, catalogue->products.size());
    EXPECT_GT (withPost, 0);
    EXPECT_LT (withPost, revisions);
}

TEST_F (SampleServer, EveryImageItNamesIsAFirmwareImageOfWholeAscendingRecords)
{
    const auto catalogue = fetchCatalogue();
    ASSERT_NE (catalogue, nullptr);

    forEachRevision (*catalogue, [this] (const TargetProduct&, const TargetRevision& revision)
    {
        const auto image = fetch (revision.imageUrl);
        ASSERT_NE (image, nullptr) << revision.imageUrl;
        ASSERT_GT (image->getSize(), 12u);
        EXPECT_EQ (readBigEndian (*image, 0), 0x005C0005u) << revision.imageUrl;

        size_t offset = 4;
        juce::int64 nextFreeAddress = 0;

        while (image->getSize() - offset > 8)
        {
            const auto address = readBigEndian (*image, offset);
            const auto length = readBigEndian (*image, offset + 4);
            EXPECT_GE (address, nextFreeAddress) << revision.imageUrl;
            nextFreeAddress = juce::int64 { address } + length;
            offset += 8 + length;
        }

        EXPECT_EQ (offset, image->getSize()) << revision.imageUrl;
    });
}

TEST_F (SampleServer, EveryReleaseNotesPageIsServed)
{
    const auto catalogue = fetchCatalogue();
    ASSERT_NE (catalogue, nullptr);

    forEachRevision (*catalogue, [this] (const TargetProduct& product, const TargetRevision& revision)
    {
        const auto page = fetch (revision.releaseNotesUrl);
        ASSERT_NE (page, nullptr);
        EXPECT_TRUE (page->toString().contains (product.name + " firmware " + revision.version));
    });
}

TEST (SampleServerContent, TheCatalogueGivesEachImagesSizeAndDigestAndIsSignedWithTheDemoKeyForYears)
{
    const auto catalogueFile = contentFolder.getChildFile ("updater/common/config/UpdateTargets.xml");
    juce::MemoryBlock catalogue, signatureFile;
    ASSERT_TRUE (catalogueFile.loadFileAsData (catalogue));
    ASSERT_TRUE (catalogueFile.getSiblingFile ("UpdateTargets.xml.sig").loadFileAsData (signatureFile));

    const auto demoKey = CataloguePublicKey::fromBase64 (juce::File (QUILLON_DEMO_CATALOGUE_KEY ".pub").loadFileAsString());
    const auto signature = CatalogueSignature::fromFile (signatureFile);
    ASSERT_TRUE (demoKey.has_value());
    ASSERT_TRUE (signature.has_value());
    EXPECT_TRUE (demoKey->hasSigned (catalogue, *signature));
    EXPECT_EQ (signature->getClaims().name, "/updater/common/config/UpdateTargets.xml");
    EXPECT_GT (signature->getClaims().expiresAt, juce::Time::getCurrentTime() + juce::RelativeTime::days (365));

    const auto parsed = parseTargetsFile (catalogue.toString());
    int revisions = 0;

    for (auto* product : parsed->products)
    {
        for (auto* revision : product->revisions)
        {
            juce::MemoryBlock image;
            const auto path = revision->imageUrl.fromFirstOccurrenceOf ("http://" QUILLON_UPDATE_HOST "/", false, false);
            ASSERT_TRUE (contentFolder.getChildFile (path).loadFileAsData (image)) << revision->imageUrl;

            EXPECT_EQ (revision->imageSize, std::optional<juce::int64> ((juce::int64) image.getSize())) << revision->imageUrl;
            EXPECT_EQ (revision->imageSha256, ExpectedImage::sha256Of (image)) << revision->imageUrl;
            ++revisions;
        }
    }

    EXPECT_EQ (revisions, 13);
}
