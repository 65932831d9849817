#include <algorithm>
#include <gtest/gtest.h>

#include "catalogue/CatalogueSigningKey.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "server/LoopbackServer.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

// A catalogue comes over plain HTTP: with the vendor's key built in, only the vendor's
// signature over its exact bytes lets it in.
namespace
{
    const juce::String catalogue ("<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\">"
                                  "<Product Name=\"Hall Reverb\" ProductID=\"2\"/></Family></Brand></Config>");
    const juce::String notSigned ("The catalogue's signature could not be verified, so it may not be the vendor's");

    juce::MemoryBlock bytesOf (const juce::String& text)
    {
        return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
    }

    enum class Served
    {
        nothing,
        signature,
        signatureByAnotherKey,
        signatureOfAnotherCatalogue,
        signatureThenOneCatalogueByteChanged,
        textThatIsNoSignature
    };

    struct SignatureCase
    {
        const char* name;
        bool keyBuiltIn;
        bool fromLocalFile;
        Served served;
        TargetsResult expected;
    };

    struct Fetched
    {
        TargetsResult status;
        juce::String errorMessage;
    };

    class CatalogueSignatureCheck : public ::testing::TestWithParam<SignatureCase>
    {
    protected:
        Fetched fetch()
        {
            const auto& row = GetParam();
            auto catalogueServed = catalogue;
            if (const auto signature = signatureFile (row.served, catalogueServed); signature.isNotEmpty())
                server.setAnswer ("/UpdateTargets.xml.sig", LoopbackServer::Answer::withText (signature));

            server.setAnswer ("/UpdateTargets.xml", LoopbackServer::Answer::withText (catalogueServed));
            localFile.getFile().replaceWithText (catalogueServed);

            const auto source = row.fromLocalFile ? localFile.getFile().getFullPathName()
                                                  : server.getUrl ("/UpdateTargets.xml") + "?nocache=8+Dec+2026";
            TargetsInfoDownloadThread thread ({ source }, nullptr, nullptr,
                                              row.keyBuiltIn ? std::optional (vendor.getPublicKey()) : std::nullopt);
            thread.startThread();
            EXPECT_TRUE (thread.waitForThreadToExit (10000));
            return { thread.getStatus(), thread.getErrorMessage() };
        }

        juce::String signatureFile (Served served, juce::String& catalogueServed) const
        {
            switch (served)
            {
                case Served::nothing:                     return {};
                case Served::signature:                   return vendor.sign (bytesOf (catalogue)).toFileText();
                case Served::signatureByAnotherKey:       return stranger.sign (bytesOf (catalogue)).toFileText();
                case Served::signatureOfAnotherCatalogue: return vendor.sign (bytesOf ("<Config/>")).toFileText();
                case Served::textThatIsNoSignature:       return "not a signature\n";
                case Served::signatureThenOneCatalogueByteChanged:
                    catalogueServed = catalogue.replace ("ProductID=\"2\"", "ProductID=\"3\"");
                    return vendor.sign (bytesOf (catalogue)).toFileText();
            }

            return {};
        }

        const CatalogueSigningKey vendor = CatalogueSigningKey::generate();
        const CatalogueSigningKey stranger = CatalogueSigningKey::generate();
        LoopbackServer server;
        juce::TemporaryFile localFile { ".xml" };
    };

    void PrintTo (const SignatureCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<SignatureCase>& info)
    {
        return info.param.name;
    }

    constexpr auto ok = TargetsResult::TargetsOk;
    constexpr auto refused = TargetsResult::TargetsParseError;
}

TEST_P (CatalogueSignatureCheck, TheServersCatalogueIsTakenOnlyWithTheVendorsSignatureOverItsExactBytes)
{
    const auto fetched = fetch();

    EXPECT_EQ (fetched.status, GetParam().expected);
    EXPECT_EQ (fetched.errorMessage, GetParam().expected == refused ? notSigned : juce::String());

    const auto requests = server.getRequests();
    const auto signatureAskedFor = std::any_of (requests.begin(), requests.end(), [] (const auto& request)
                                                { return request.target == "/UpdateTargets.xml.sig?nocache=8+Dec+2026"; });
    EXPECT_EQ (signatureAskedFor, GetParam().keyBuiltIn && ! GetParam().fromLocalFile);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Cases, CatalogueSignatureCheck, ::testing::Values (
    SignatureCase { "Valid",                         true,  false, Served::signature,                            ok },
    SignatureCase { "Missing",                       true,  false, Served::nothing,                              refused },
    SignatureCase { "ByAnotherKey",                  true,  false, Served::signatureByAnotherKey,                refused },
    SignatureCase { "OfAnotherCatalogue",            true,  false, Served::signatureOfAnotherCatalogue,          refused },
    SignatureCase { "OneCatalogueByteChanged",       true,  false, Served::signatureThenOneCatalogueByteChanged, refused },
    SignatureCase { "NoSignatureText",               true,  false, Served::textThatIsNoSignature,                refused },
    SignatureCase { "NoKeyBuiltInTakesItUnsigned",   false, false, Served::nothing,                              ok },
    SignatureCase { "LocalFileIsTakenUnsigned",      true,  true,  Served::nothing,                              ok },
    SignatureCase { "LocalFileIsTakenAsChanged",     true,  true,  Served::signatureThenOneCatalogueByteChanged, ok }), nameOf);
// clang-format on

TEST (CatalogueSignature, TheWizardUpdatesWithASignedCatalogueAndSaysWhyAnUnsignedOneIsRefused)
{
    const auto vendor = CatalogueSigningKey::generate();

    for (const auto signatureServed : { true, false })
    {
        WizardWorld world;
        auto& device = world.setUpReverbScene();
        world.catalogueSigner = vendor.getPublicKey();
        WizardDriver driver (world.makeWizard (devicetest::shortReplyTimeouts()));

        if (signatureServed)
        {
            world.serve ("/updater/common/config/UpdateTargets.xml.sig",
                         LoopbackServer::Answer::withText (vendor.sign (bytesOf (world.servedCatalogue)).toFileText()));
            EXPECT_TRUE (driver.updateToTheNewestVersion());
            EXPECT_EQ (driver.caption(), UserTexts::updateSucceeded);
            continue;
        }

        driver.click (UserTexts::next);

        EXPECT_EQ (driver.caption(), UserTexts::invalidTargetsFile);
        EXPECT_EQ (driver.pageText(), notSigned);
        EXPECT_TRUE (device.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost).empty());
    }
}
