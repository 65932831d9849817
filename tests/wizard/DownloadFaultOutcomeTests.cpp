#include <gtest/gtest.h>

#include "catalogue/TargetsSources.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

// What the user is shown when the update server, or what it serves, lets the program
// down: the rows of the network and catalogue tables in docs/reliability.md.
namespace
{
    const juce::String catalogueAddress ("/updater/common/config/UpdateTargets.xml");
    const juce::String imageAddress ("/images/reverb-1.5.bin");

    juce::String addressNobodyListensAt (const juce::String& path)
    {
        LoopbackServer stopped;
        return stopped.getUrl (path);
    }

    LoopbackServer::Answer cutAfter (const juce::MemoryBlock& body, size_t bytes, bool announceLength)
    {
        auto answer = LoopbackServer::Answer::withData (body);
        answer.closeAfter = bytes;
        answer.announceLength = announceLength;
        answer.pieceSize = announceLength ? 0 : 256;
        return answer;
    }

    juce::MemoryBlock bytesOf (const juce::String& text)
    {
        return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
    }

    struct DownloadFaultOutcome : public ::testing::Test
    {
        void expectResult (const juce::String& caption, const juce::String& description, const juce::String& body) const
        {
            EXPECT_EQ (driver.caption(), caption);
            EXPECT_EQ (driver.description(), description);
            EXPECT_EQ (driver.pageText(), body);
            EXPECT_TRUE (driver.isVisible (UserTexts::startOver));
        }

        void expectUnableToConnect() const
        {
            expectResult (UserTexts::unableToConnect, UserTexts::unableToConnectDescription, UserTexts::unableToConnectBody);
        }

        /** The usual scene, with the image of the newest revision served as answer. */
        SimulatedDevice& imageServedAs (LoopbackServer::Answer answer)
        {
            auto& device = world.setUpReverbScene();
            world.serve (imageAddress, std::move (answer));
            return device;
        }

        WizardWorld world;
        WizardDriver driver { world.makeWizard() };
    };

    struct CatalogueCase
    {
        const char* name;
        const char* text;
        const char* caption;
        const char* body;   // nullptr: the caption's fixed text
    };

    class MalformedCatalogue : public DownloadFaultOutcome,
                               public ::testing::WithParamInterface<CatalogueCase>
    {
    };

    void PrintTo (const CatalogueCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<CatalogueCase>& info)
    {
        return info.param.name;
    }

    constexpr auto invalid = UserTexts::invalidTargetsFile;
    constexpr auto noDevices = UserTexts::noDevicesFound;

    // A product of the reverb device's IDs on its port, wrapped around the part given.
    juce::String inReverbProduct (const juce::String& productInside)
    {
        return "<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\"><Product Name=\"Test Reverb\" ProductID=\"0x02\">"
             + productInside + "</Product></Family></Brand></Config>";
    }
}

//==============================================================================
TEST_F (DownloadFaultOutcome, CatalogueServerThatRefusesTheConnectionEndsWithUnableToConnect)
{
    world.addDevice (WizardWorld::reverbDevice());
    const auto host = addressNobodyListensAt ("/").fromFirstOccurrenceOf ("://", false, false).upToFirstOccurrenceOf ("/", false, false);
    auto& wizard = *(world.wizard = std::make_unique<UpdateWizard> (UpdateEnvironment {
        world.ports,
        ReplyTimeouts {},
        [this, host] { return TargetsSources::build (world.programFolder, host, juce::Time::getCurrentTime()); },
        {},
        [] {} }));
    WizardDriver refusedDriver (wizard);

    refusedDriver.click (UserTexts::next);

    EXPECT_EQ (refusedDriver.caption(), UserTexts::unableToConnect);
    EXPECT_EQ (refusedDriver.pageText(), UserTexts::unableToConnectBody);
}

TEST_F (DownloadFaultOutcome, CatalogueMissingOnTheServerEndsWithUnableToConnect)
{
    world.addDevice (WizardWorld::reverbDevice());

    driver.click (UserTexts::next);

    expectUnableToConnect();
    ASSERT_EQ (world.server.getRequests().size(), 1u);
    EXPECT_TRUE (world.server.getRequests()[0].target.startsWith (catalogueAddress + "?nocache="));
}

TEST_F (DownloadFaultOutcome, CatalogueAnsweredWithAPlainTextErrorIsAnInvalidTargetsFile)
{
    world.serve (catalogueAddress, LoopbackServer::Answer::withText ("Not Found", 404, "text/plain"));

    driver.click (UserTexts::next);

    expectResult (UserTexts::invalidTargetsFile, UserTexts::invalidTargetsFileDescription,
                  "Syntax error at line 1, column 1");
}

TEST_F (DownloadFaultOutcome, CatalogueAnsweredWithAWebPageEndsWithUnableToConnect)
{
    world.serve (catalogueAddress, LoopbackServer::Answer::withText ("<!DOCTYPE HTML><html><body>Welcome</body></html>"));

    driver.click (UserTexts::next);

    expectUnableToConnect();
}

TEST_F (DownloadFaultOutcome, CatalogueAnsweredWithALowerCaseWebPageIsAnInvalidTargetsFile)
{
    world.serve (catalogueAddress, LoopbackServer::Answer::withText ("<!doctype html><html><body>Welcome</body></html>"));

    driver.click (UserTexts::next);

    expectResult (UserTexts::invalidTargetsFile, UserTexts::invalidTargetsFileDescription,
                  "Syntax error at line 1, column 1");
}

TEST_F (DownloadFaultOutcome, CatalogueCutShortInTransferEndsWithUnableToConnect)
{
    world.setUpReverbScene();
    const auto text = bytesOf (CatalogueXml().addProduct (WizardWorld::reverbDevice(), "Test Reverb", { { "1.5", "x", {} } }).toString());

    for (const bool announceLength : { true, false })
    {
        world.serve (catalogueAddress, cutAfter (text, text.getSize() / 2, announceLength));
        driver.click (UserTexts::next);

        expectUnableToConnect();
        driver.click (UserTexts::startOver);
    }
}

TEST_F (DownloadFaultOutcome, CatalogueServerThatStallsEndsWithUnableToConnectAfterTheTimeOut)
{
    world.setUpReverbScene();
    world.serve (catalogueAddress, WizardWorld::stallingAfter (bytesOf ("<?xml version=\"1.0\"?><Config></Config>"), 10));

    driver.click (UserTexts::next);

    expectUnableToConnect();
}

//==============================================================================
TEST_F (DownloadFaultOutcome, ImageServerThatRefusesTheConnectionEndsWithUnableToConnect)
{
    auto& device = world.addDevice (WizardWorld::reverbDevice());
    world.serveCatalogue (CatalogueXml().addProduct (device.getConfig(), "Test Reverb",
                                                     { { "1.5", addressNobodyListensAt (imageAddress), {} } })
                              .toString());

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    expectUnableToConnect();
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (DownloadFaultOutcome, ImageMissingOnTheServerEndsWithUnableToConnect)
{
    auto& device = world.addDevice (WizardWorld::reverbDevice());
    world.serveCatalogue (CatalogueXml().addProduct (device.getConfig(), "Test Reverb",
                                                     { { "1.5", world.server.getUrl ("/images/gone.bin"), {} } })
                              .toString());

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    expectUnableToConnect();
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (DownloadFaultOutcome, ImageAnsweredWithAWebPageEndsWithUnableToConnect)
{
    auto& device = imageServedAs (LoopbackServer::Answer::withText ("<!DOCTYPE HTML><html><body>Moved</body></html>"));

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    expectUnableToConnect();
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (DownloadFaultOutcome, ImageCutShortInTransferEndsWithUnableToConnect)
{
    const auto image = WizardWorld::makeImage();
    auto& device = imageServedAs (cutAfter (image, image.getSize() - 100, true));

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    expectUnableToConnect();
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (DownloadFaultOutcome, ImageServerThatStallsEndsWithUnableToConnectAfterTheTimeOut)
{
    auto& device = imageServedAs (WizardWorld::stallingAfter (WizardWorld::makeImage(), 100));

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    expectUnableToConnect();
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (DownloadFaultOutcome, ImageShorterThanItsMagicEndsWithUnableToConnect)
{
    auto& device = imageServedAs (LoopbackServer::Answer::withData (juce::MemoryBlock ("\0\x5c", 2)));

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    expectUnableToConnect();
    EXPECT_FALSE (device.isInUpdateMode());
}

TEST_F (DownloadFaultOutcome, ImageThatEndsBeforeItsFirstRecordFailsTheUpdate)
{
    auto& device = imageServedAs (LoopbackServer::Answer::withData (ImageFileBuilder().getFile()));

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    expectResult (UserTexts::updateFailed, UserTexts::updateFailedDescription,
                  UserTexts::endOfFile);
    EXPECT_EQ (device.readFlash (0, 16), std::vector<juce::uint8> (16, 0xff));
    EXPECT_FALSE (device.isInUpdateMode());
}

//==============================================================================
TEST_P (MalformedCatalogue, EndsOnTheResultsPageWithItsText)
{
    world.addDevice (WizardWorld::reverbDevice());
    world.serveCatalogue (GetParam().text);

    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), GetParam().caption);
    EXPECT_EQ (driver.pageText(), GetParam().body != nullptr ? juce::String (GetParam().body) : UserTexts::noDevicesBody);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Kinds, MalformedCatalogue, ::testing::Values (
    CatalogueCase { "Empty", "", invalid, "The file is empty" },
    CatalogueCase { "NotXml", "UpdateTargets", invalid, "Syntax error at line 1, column 1" },
    CatalogueCase { "UnmatchedTags", "<Config><Brand></Config>", invalid, "Mismatched tag at line 1, column 18" },
    CatalogueCase { "WrongRoot", "<Catalogue/>", invalid, "Invalid element encountered. Expecting Config" },
    CatalogueCase { "NotABrand", "<Config><brand/></Config>", invalid, "Invalid element encountered. Expecting Brand" },
    CatalogueCase { "NotAFamily", "<Config><Brand><Product/></Brand></Config>", invalid,
                    "Invalid element encountered. Expecting Family" },
    CatalogueCase { "NotAProduct", "<Config><Brand><Family><product/></Family></Brand></Config>", invalid,
                    "Invalid element encountered. Expecting Product" },
    CatalogueCase { "NotARevision", "<Config><Brand><Family><Product><Revisions><Port/></Revisions></Product></Family></Brand></Config>",
                    invalid, "Invalid element encountered. Expecting \"Revision\"" },
    CatalogueCase { "NotAPort", "<Config><Brand><Family><Product><Ports><Revision/></Ports></Product></Family></Brand></Config>",
                    invalid, "Invalid element encountered. Expecting Port" },
    CatalogueCase { "StrayText", "<Config> oops <Brand/></Config>", invalid, "Invalid element encountered. Expecting Brand" },
    CatalogueCase { "ImageSizeWithASign", "<Config><Brand><Family><Product><Revisions><Revision Size=\"+8704\"/></Revisions>"
                                          "</Product></Family></Brand></Config>",
                    invalid, "Invalid attribute encountered. Expecting Size to be a decimal number of bytes" },
    CatalogueCase { "ImageDigestTooShort", "<Config><Brand><Family><Product><Revisions><Revision Sha256=\"ba7816bf\"/></Revisions>"
                                           "</Product></Family></Brand></Config>",
                    invalid, "Invalid attribute encountered. Expecting Sha256 to be 64 hexadecimal digits" },
    CatalogueCase { "NoProducts", "<Config/>", noDevices, nullptr },
    CatalogueCase { "ProductWithoutAttributes", "<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\"><Product>"
                                                "<Ports><Port Name=\"Test Reverb\"/></Ports></Product></Family></Brand></Config>",
                    noDevices, nullptr },
    CatalogueCase { "UnknownBrand", "<Config><Brand Name=\"calvio\"><Family FamilyID=\"0x05\"><Product ProductID=\"0x02\">"
                                    "<Ports><Port Name=\"Test Reverb\"/></Ports></Product></Family></Brand></Config>",
                    noDevices, nullptr },
    CatalogueCase { "ProductIdWithoutHexDigits", "<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\"><Product ProductID=\"none\">"
                                                 "<Ports><Port Name=\"Test Reverb\"/></Ports></Product></Family></Brand></Config>",
                    noDevices, nullptr }), nameOf);
// clang-format on

TEST_F (DownloadFaultOutcome, PortCountThatIsNoNumberStillFindsTheDevice)
{
    world.addDevice (WizardWorld::reverbDevice());
    world.serveCatalogue (inReverbProduct ("<Ports><Port Name=\"Test Reverb\" Count=\"many\"/></Ports>"));

    driver.click (UserTexts::next);

    EXPECT_EQ (driver.caption(), UserTexts::foundDevices);
    EXPECT_EQ (driver.listedItems(), juce::StringArray ("Test Reverb \"Studio A\" (at version 1.0)"));
}

TEST_F (DownloadFaultOutcome, ProductWithoutRevisionsEndsWithNoUpdatesFound)
{
    world.addDevice (WizardWorld::reverbDevice());
    world.serveCatalogue (inReverbProduct ("<Ports><Port Name=\"Test Reverb\"/></Ports>"));

    for (int step = 0; step < 3; ++step)
        driver.click (UserTexts::next);

    expectResult (UserTexts::noUpdatesFound, UserTexts::noUpdatesDescription,
                  UserTexts::noUpdatesBody);
}
