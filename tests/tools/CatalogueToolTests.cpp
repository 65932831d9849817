#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/CatalogueSigningKey.h"
#include "catalogue/ExpectedImage.h"
#include "catalogue/TargetsFileParser.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "server/LoopbackServer.h"
#include "tests/catalogue/TestData.h"
#include "tests/wizard/WizardWorld.h"

// quillon-catalogue is run as a vendor runs it, as a program in a folder of its own,
// and what it writes must be exactly what the program accepts.
namespace
{
    struct ToolRun
    {
        int exitCode = -1;
        juce::String output;   // standard output and standard error together
    };

    ToolRun runTool (const juce::StringArray& arguments)
    {
        juce::StringArray command { QUILLON_CATALOGUE_TOOL };
        command.addArray (arguments);

        juce::ChildProcess process;
        ToolRun run;

        if (process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        {
            run.output = process.readAllProcessOutput();
            run.exitCode = process.waitForProcessToFinish (10000) ? (int) process.getExitCode() : -1;
        }

        return run;
    }

    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock data;
        file.loadFileAsData (data);
        return data;
    }

    std::vector<const TargetRevision*> revisionsOf (const TargetsInfo& catalogue)
    {
        std::vector<const TargetRevision*> revisions;

        for (const auto* product : catalogue.products)
            for (const auto* revision : product->revisions)
                revisions.push_back (revision);

        return revisions;
    }

    class CatalogueToolTest : public ::testing::Test
    {
    protected:
        CatalogueToolTest() { served.createDirectory(); }
        ~CatalogueToolTest() override { folder.deleteRecursively(); }

        juce::String path (const juce::String& name) const { return folder.getChildFile (name).getFullPathName(); }

        /** An image at this path below the served folder. */
        juce::MemoryBlock serveImage (const juce::String& name, const juce::MemoryBlock& image) const
        {
            const auto imageFile = served.getChildFile (name);
            imageFile.getParentDirectory().createDirectory();
            imageFile.replaceWithData (image.getData(), image.getSize());
            return image;
        }

        /** The served catalogue, naming these revisions of the test reverb; its lines
            end as JUCE writes XML, with CR LF but for the first two.
        */
        juce::String serveCatalogue (const std::vector<CatalogueXml::Revision>& revisions) const
        {
            const auto text = CatalogueXml().addProduct (WizardWorld::reverbDevice(), "Test Reverb", revisions).toString();
            catalogue.replaceWithText (text, false, false, nullptr);
            return text;
        }

        juce::String publicKey() const { return folder.getChildFile ("vendor.key.pub").loadFileAsString().trim(); }

        const juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                      .getChildFile ("quillon-catalogue-" + juce::String::toHexString (juce::Random().nextInt64()));
        const juce::File served = folder.getChildFile ("served");
        const juce::File catalogue = served.getChildFile ("UpdateTargets.xml");
        LoopbackServer server;
    };
}

TEST_F (CatalogueToolTest, KeygenStampSignAndVerifyMakeACatalogueTheProgramTakesFromItsServer)
{
    const auto key = runTool ({ "keygen", path ("vendor.key") });
    ASSERT_EQ (key.exitCode, 0) << key.output;
    EXPECT_TRUE (key.output.contains ("-DQUILLON_CATALOGUE_PUBLIC_KEY=" + publicKey())) << key.output;

    struct stat keyStatus {};
    ASSERT_EQ (::stat (path ("vendor.key").toRawUTF8(), &keyStatus), 0);
    EXPECT_EQ (keyStatus.st_mode & 0777, 0600u);

    const auto secret = folder.getChildFile ("vendor.key").loadFileAsString();
    EXPECT_EQ (runTool ({ "keygen", path ("vendor.key") }).exitCode, 3);
    EXPECT_EQ (folder.getChildFile ("vendor.key").loadFileAsString(), secret);

    // 1.0 carries a stale size and digest, which stamping replaces.
    const auto older = serveImage ("images/reverb-1.0.bin", makeTestData (3000));
    const auto newer = serveImage ("images/reverb-1.5.bin", WizardWorld::makeImage());
    server.serveFolder (served);
    serveCatalogue ({ { "1.0", server.getUrl ("/images/reverb-1.0.bin"), {}, "7", juce::String::repeatedString ("0", 64) },
                      { "1.5", server.getUrl ("/images/reverb-1.5.bin"), {} } });

    const auto stamp = runTool ({ "stamp", catalogue.getFullPathName(), "--images", served.getFullPathName() });
    ASSERT_EQ (stamp.exitCode, 0) << stamp.output;

    const auto stamped = parseTargetsFile (catalogue.loadFileAsString());
    const auto revisions = revisionsOf (*stamped);
    ASSERT_EQ (revisions.size(), 2u);
    EXPECT_EQ (revisions[0]->imageSize, std::optional<juce::int64> (3000));
    EXPECT_EQ (revisions[0]->imageSha256, ExpectedImage::sha256Of (older));
    EXPECT_EQ (revisions[1]->imageSize, std::optional<juce::int64> ((juce::int64) newer.getSize()));
    EXPECT_EQ (revisions[1]->imageSha256, ExpectedImage::sha256Of (newer));

    const auto sign = runTool ({ "sign", catalogue.getFullPathName(), path ("vendor.key"), "--name", "/UpdateTargets.xml",
                                 "--expires", "7" });
    ASSERT_EQ (sign.exitCode, 0) << sign.output;
    EXPECT_FALSE (sign.output.contains ("Warning")) << sign.output;

    // The claims as the file states them: the name given, a week from the serial's time.
    const std::regex claims ("name /UpdateTargets.xml\n"
                             "serial ((\\d{4})(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d))\n"
                             "signed \\2-\\3-\\4T\\5:\\6:\\7Z\n"
                             "expires \\d{4}-\\d\\d-\\d\\dT\\5:\\6:\\7Z\n"
                             "valid\n");

    for (const auto& keyGiven : { path ("vendor.key.pub"), publicKey() })
    {
        const auto verify = runTool ({ "verify", catalogue.getFullPathName(), keyGiven });
        EXPECT_EQ (verify.exitCode, 0) << verify.output;
        EXPECT_TRUE (std::regex_match (verify.output.toStdString(), claims)) << verify.output;
    }

    const auto signature = CatalogueSignature::fromFile (bytesOf (catalogue.getSiblingFile ("UpdateTargets.xml.sig")));
    ASSERT_TRUE (signature.has_value());
    EXPECT_EQ ((signature->getClaims().expiresAt - signature->getClaims().signedAt).inDays(), 7.0);

    const juce::TemporaryFile record;
    TargetsInfoDownloadThread thread ({ server.getUrl ("/UpdateTargets.xml") + "?nocache=8+Dec+2026" }, nullptr, nullptr,
                                      CatalogueSigner (*CataloguePublicKey::fromBase64 (publicKey()), record.getFile()));
    thread.startThread();
    ASSERT_TRUE (thread.waitForThreadToExit (10000));
    EXPECT_EQ (thread.getStatus(), TargetsResult::TargetsOk) << thread.getErrorMessage();
}

TEST_F (CatalogueToolTest, SignRefusesACatalogueWithARevisionWithoutSizeAndDigestAndNamesIt)
{
    ASSERT_EQ (runTool ({ "keygen", path ("vendor.key") }).exitCode, 0);
    const auto digest = juce::String::repeatedString ("0", 64);

    // clang-format off
    const std::vector<CatalogueXml::Revision> cases[] {
        { { "1.0", "http://updates.example.com/1.0.bin", {}, "7", digest }, { "1.5", "http://updates.example.com/1.5.bin", {} } },
        { { "1.5", "http://updates.example.com/1.5.bin", {}, "7" } },
        { { "1.5", "http://updates.example.com/1.5.bin", {}, {}, digest } }
    };
    // clang-format on

    for (const auto& revisions : cases)
    {
        serveCatalogue (revisions);
        const auto sign = runTool ({ "sign", catalogue.getFullPathName(), path ("vendor.key") });

        EXPECT_EQ (sign.exitCode, 3) << sign.output;
        EXPECT_TRUE (sign.output.contains ("Not signed: these revisions lack the Size or Sha256 of their image, so nothing "
                                           "would tie the image to the signature; stamp them first: Test Reverb 1.5\n"))
            << sign.output;
        EXPECT_FALSE (catalogue.getSiblingFile ("UpdateTargets.xml.sig").exists());
    }
}

TEST_F (CatalogueToolTest, SignWarnsWhenOthersMayReadTheSecretKeyAndSaysHowToFixIt)
{
    ASSERT_EQ (runTool ({ "keygen", path ("vendor.key") }).exitCode, 0);
    serveCatalogue ({ { "1.5", "http://updates.example.com/1.5.bin", {}, "7", juce::String::repeatedString ("0", 64) } });
    const auto warning = "Warning: other users may read the secret key " + path ("vendor.key")
                       + "; make it yours alone: chmod 600 " + path ("vendor.key") + "\n";

    const std::pair<int, bool> cases[] { { 0600, false }, { 0700, false }, { 0640, true }, { 0604, true }, { 0644, true } };

    for (const auto& [mode, warned] : cases)
    {
        ASSERT_EQ (::chmod (path ("vendor.key").toRawUTF8(), (mode_t) mode), 0);
        const auto sign = runTool ({ "sign", catalogue.getFullPathName(), path ("vendor.key") });

        EXPECT_EQ (sign.exitCode, 0) << sign.output;
        EXPECT_EQ (sign.output.contains (warning), warned) << std::oct << mode << "\n" << sign.output;
    }
}

// A signature already there from a computer whose clock ran ahead (a year) must not be
// replaced by one users who took it would refuse; one from the past (a day) is replaced.
TEST_F (CatalogueToolTest, SignNeverReplacesASignatureWithAHigherSerialByALowerOne)
{
    ASSERT_EQ (runTool ({ "keygen", path ("vendor.key") }).exitCode, 0);
    const auto text = serveCatalogue ({ { "1.5", "http://updates.example.com/1.5.bin", {}, "7",
                                          juce::String::repeatedString ("0", 64) } });
    const auto key = CatalogueSigningKey::fromBase64 (juce::File (path ("vendor.key")).loadFileAsString().trim());
    ASSERT_TRUE (key.has_value());
    const auto signatureFile = catalogue.getSiblingFile ("UpdateTargets.xml.sig");
    const auto now = juce::Time::getCurrentTime();

    const std::pair<juce::RelativeTime, int> cases[] { { juce::RelativeTime::days (365), 3 },
                                                       { juce::RelativeTime::days (-1), 0 } };

    for (const auto& [offset, exitCode] : cases)
    {
        const auto claims = CatalogueSignature::Claims::issued ("/updater/common/config/UpdateTargets.xml", now + offset, 30);
        const auto there = key->sign ({ text.toRawUTF8(), text.getNumBytesAsUTF8() }, claims).toFileText();
        ASSERT_TRUE (signatureFile.replaceWithText (there, false, false, nullptr));

        const auto sign = runTool ({ "sign", catalogue.getFullPathName(), path ("vendor.key") });

        EXPECT_EQ (sign.exitCode, exitCode) << sign.output;
        EXPECT_EQ (signatureFile.loadFileAsString() == there, exitCode != 0) << sign.output;
        EXPECT_EQ (sign.output.contains ("carries serial " + juce::String (claims.serial) + ", above this signing's"),
                   exitCode != 0) << sign.output;
    }
}

TEST_F (CatalogueToolTest, SignRefusesOptionsItDoesNotKnowOrValuesOutOfRange)
{
    ASSERT_EQ (runTool ({ "keygen", path ("vendor.key") }).exitCode, 0);
    serveCatalogue ({ { "1.5", "http://updates.example.com/1.5.bin", {}, "7", juce::String::repeatedString ("0", 64) } });
    const auto catalogueArgument = catalogue.getFullPathName();

    // clang-format off
    const juce::StringArray cases[] {
        { "--expires", "0" },
        { "--expires", "3651" },
        { "--expires", "-1" },
        { "--expires", "thirty" },
        { "--name", "UpdateTargets.xml" },
        { "--name", "/UpdateTargets.xml?beta=1" },
        { "--name", "/Update Targets.xml" },
        { "--name" },
        { "--sign-anyway", "yes" }
    };
    // clang-format on

    for (const auto& options : cases)
    {
        juce::StringArray arguments { "sign", catalogueArgument, path ("vendor.key") };
        arguments.addArray (options);
        const auto sign = runTool (arguments);

        EXPECT_EQ (sign.exitCode, 2) << options.joinIntoString (" ") << "\n" << sign.output;
        EXPECT_FALSE (catalogue.getSiblingFile ("UpdateTargets.xml.sig").exists()) << options.joinIntoString (" ");
    }
}

TEST_F (CatalogueToolTest, VerifyRefusesAnythingButTheKeysSignatureOverTheExactBytes)
{
    enum class Change
    {
        oneCatalogueByteChanged,
        anotherKeysPublicKey,
        signatureRemoved,
        signatureReplacedByText,
        publicKeyNotAKey,
        signatureOfTheOlderKind,
        signatureExpired
    };

    struct Case
    {
        const char* name;
        Change change;
        int exitCode;
        const char* message;
    };

    // clang-format off
    const Case cases[] {
        { "one catalogue byte changed", Change::oneCatalogueByteChanged, 1, "Not valid: the signature was not made with this key" },
        { "another key's public key",   Change::anotherKeysPublicKey,    1, "Not valid: the signature was not made with this key" },
        { "signature removed",          Change::signatureRemoved,        1, "Not valid: there is no signature" },
        { "signature replaced by text", Change::signatureReplacedByText, 1, "is not a signature" },
        { "public key not a key",       Change::publicKeyNotAKey,        3, "is neither a public key nor a file holding one" },
        { "signature of the older kind", Change::signatureOfTheOlderKind, 1, "is a signature of the older kind, which makes no claims" },
        { "signature expired",          Change::signatureExpired,        1, "Not valid: the signature has expired; sign the catalogue again" }
    };
    // clang-format on

    ASSERT_EQ (runTool ({ "keygen", path ("vendor.key") }).exitCode, 0);
    ASSERT_EQ (runTool ({ "keygen", path ("stranger.key") }).exitCode, 0);
    const auto signature = catalogue.getSiblingFile ("UpdateTargets.xml.sig");

    for (const auto& c : cases)
    {
        const auto text = serveCatalogue ({ { "1.5", "http://updates.example.com/images/reverb-1.5.bin", {}, "7",
                                              juce::String::repeatedString ("0", 64) } });
        ASSERT_EQ (runTool ({ "sign", catalogue.getFullPathName(), path ("vendor.key") }).exitCode, 0) << c.name;
        auto keyGiven = path ("vendor.key.pub");

        switch (c.change)
        {
            case Change::oneCatalogueByteChanged: catalogue.replaceWithText (text.replace ("Version=\"1.5\"", "Version=\"1.6\""), false, false, nullptr); break;
            case Change::anotherKeysPublicKey:    keyGiven = path ("stranger.key.pub"); break;
            case Change::signatureRemoved:        signature.deleteFile(); break;
            case Change::signatureReplacedByText: signature.replaceWithText ("not a signature\n"); break;
            case Change::publicKeyNotAKey:        keyGiven = "not-a-key"; break;
            case Change::signatureOfTheOlderKind: signature.replaceWithText (juce::Base64::toBase64 (std::string (64, 'x')) + "\n"); break;
            case Change::signatureExpired:
            {
                const auto key = CatalogueSigningKey::fromBase64 (folder.getChildFile ("vendor.key").loadFileAsString());
                const auto then = juce::Time::getCurrentTime() - juce::RelativeTime::days (40);
                signature.replaceWithText (key->sign (bytesOf (catalogue),
                                                      CatalogueSignature::Claims::issued ("/UpdateTargets.xml", then, 30))
                                               .toFileText(), false, false, "\n");
                break;
            }
        }

        const auto verify = runTool ({ "verify", catalogue.getFullPathName(), keyGiven });
        EXPECT_EQ (verify.exitCode, c.exitCode) << c.name << ": " << verify.output;
        EXPECT_TRUE (verify.output.contains (c.message)) << c.name << ": " << verify.output;
        EXPECT_FALSE (verify.output.contains ("valid\n") && ! verify.output.contains ("Not valid")) << c.name;
    }
}

TEST_F (CatalogueToolTest, StampLeavesAddressesWithoutAFileBelowTheFolderAsTheyAre)
{
    struct Case
    {
        const char* address;
        bool stamped;
        juce::String why;
    };

    // A file outside the served folder exists, so only the folder's bounds keep it out.
    folder.getChildFile ("secret.bin").replaceWithText ("not for the catalogue");
    folder.getChildFile ("served2/beside.bin").create();
    serveImage ("images/reverb-1.5.bin", WizardWorld::makeImage());

    // Links out of the folder, into one whose name begins with its name, and within it;
    // the folder itself is given through a link, so only real paths compared stamp at all.
    // A pipe would hold the tool until someone wrote to it.
    const auto images = folder.getChildFile ("served-link");
    ASSERT_TRUE (served.createSymbolicLink (images, false));
    ASSERT_TRUE (folder.getChildFile ("secret.bin").createSymbolicLink (served.getChildFile ("images/out.bin"), false));
    ASSERT_TRUE (folder.getChildFile ("served2/beside.bin").createSymbolicLink (served.getChildFile ("images/beside.bin"), false));
    ASSERT_TRUE (served.getChildFile ("images/reverb-1.5.bin").createSymbolicLink (served.getChildFile ("images/alias.bin"), false));
    ASSERT_EQ (mkfifo (served.getChildFile ("images/pipe.bin").getFullPathName().toRawUTF8(), 0600), 0);
    const auto linkedOut = [&images] (const char* name)
    { return "its file " + images.getChildFile (name).getFullPathName() + " leads through a link to "; };

    // clang-format off
    const Case cases[] {
        { "http://updates.example.com/images/reverb-1.5.bin",             true,  "" },
        { "https://mirror.example.com/images/reverb-1.5.bin?x=1",         true,  "" },
        { "http://updates.example.com/images/../../secret.bin",           false, "its path steps up with \"..\"" },
        { "http://updates.example.com/images/%2E%2E/%2e%2e/secret.bin",   false, "its path steps up with \"..\"" },
        { "http://updates.example.com/images/missing.bin",                false, "no file " },
        { "http://updates.example.com/images/alias.bin",                  true,  "" },
        { "http://updates.example.com/images/out.bin",                    false, linkedOut ("images/out.bin") },
        { "http://updates.example.com/images/beside.bin",                 false, linkedOut ("images/beside.bin") },
        { "http://updates.example.com/images/pipe.bin",                   false, "its file " + images.getChildFile ("images/pipe.bin").getFullPathName() + " is not a regular file" },
        { "http://updates.example.com/",                                  false, "its path names no file" },
        { "ftp://updates.example.com/images/reverb-1.5.bin",              false, "not an http or https address" },
        { "",                                                             false, "no image address" }
    };
    // clang-format on

    std::vector<CatalogueXml::Revision> revisions;

    for (const auto& c : cases)
        revisions.push_back ({ juce::String ((int) revisions.size() + 1) + ".0", c.address, {} });

    const auto original = serveCatalogue (revisions);
    const auto stamp = runTool ({ "stamp", catalogue.getFullPathName(), "--images", images.getFullPathName(),
                                  "--out", path ("stamped.xml") });
    EXPECT_EQ (stamp.exitCode, 4) << stamp.output;
    EXPECT_EQ (catalogue.loadFileAsString(), original);

    const auto stampedText = folder.getChildFile ("stamped.xml").loadFileAsString();
    const auto stampedCatalogue = parseTargetsFile (stampedText);
    const auto stamped = revisionsOf (*stampedCatalogue);
    ASSERT_EQ (stamped.size(), std::size (cases));

    for (size_t i = 0; i < stamped.size(); ++i)
    {
        const auto& c = cases[i];
        EXPECT_EQ (stamped[i]->imageSize.has_value(), c.stamped) << c.address;

        if (! c.stamped)
            EXPECT_TRUE (stamp.output.contains ("Left unstamped: " + juce::String (c.address) + ": " + c.why))
                << c.address << "\n" << stamp.output;
    }

    // Without what was added, the text is the one given, line breaks and all.
    const std::regex added (R"(\s+Size="\d+"\s+Sha256="[0-9a-f]{64}")");
    EXPECT_EQ (std::regex_replace (stampedText.toStdString(), added, ""), original.toStdString());
}

TEST_F (CatalogueToolTest, StampRefusesAnImageLargerThanTheProgramDownloadsAndWritesNothing)
{
    const auto image = served.getChildFile ("images/huge.bin");
    image.getParentDirectory().createDirectory();
    image.create();
    ASSERT_EQ (::truncate (image.getFullPathName().toRawUTF8(), (off_t) ExpectedImage::largestImage + 1), 0);

    const auto original = serveCatalogue ({ { "1.5", "http://updates.example.com/images/huge.bin", {} } });
    const auto stamp = runTool ({ "stamp", catalogue.getFullPathName(), "--images", served.getFullPathName() });

    EXPECT_EQ (stamp.exitCode, 3);
    EXPECT_TRUE (stamp.output.contains ("is larger than " + juce::String (ExpectedImage::largestImage) + " bytes")) << stamp.output;
    EXPECT_EQ (catalogue.loadFileAsString(), original);
}

TEST_F (CatalogueToolTest, SignRefusesASecretKeyWhoseHalvesDoNotBelongTogether)
{
    ASSERT_EQ (runTool ({ "keygen", path ("vendor.key") }).exitCode, 0);
    ASSERT_EQ (runTool ({ "keygen", path ("stranger.key") }).exitCode, 0);

    // The vendor's seed followed by the stranger's public key.
    juce::MemoryOutputStream secret, strangersPublic;
    ASSERT_TRUE (juce::Base64::convertFromBase64 (secret, folder.getChildFile ("vendor.key").loadFileAsString().trim()));
    ASSERT_TRUE (juce::Base64::convertFromBase64 (strangersPublic, folder.getChildFile ("stranger.key.pub").loadFileAsString().trim()));
    juce::MemoryBlock damaged (secret.getData(), 32);
    damaged.append (strangersPublic.getData(), strangersPublic.getDataSize());
    folder.getChildFile ("damaged.key").replaceWithText (juce::Base64::toBase64 (damaged.getData(), damaged.getSize()) + "\n");

    serveCatalogue ({ { "1.5", "http://updates.example.com/images/reverb-1.5.bin", {}, "7", juce::String::repeatedString ("0", 64) } });
    const auto sign = runTool ({ "sign", catalogue.getFullPathName(), path ("damaged.key") });

    EXPECT_EQ (sign.exitCode, 3);
    EXPECT_TRUE (sign.output.contains ("is damaged: its signatures do not verify")) << sign.output;
    EXPECT_FALSE (catalogue.getSiblingFile ("UpdateTargets.xml.sig").exists());
}
