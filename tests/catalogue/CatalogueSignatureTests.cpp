#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/CatalogueSigningKey.h"
#include "catalogue/ExpectedImage.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "server/LoopbackServer.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

// A catalogue comes over plain HTTP: with the vendor's key built in, only the vendor's
// signature file lets it in, and only when it names this catalogue, still holds, is no
// older than one taken before, and ties every image to the signature by its digest.
namespace
{
    const juce::String cataloguePath ("/updater/common/config/UpdateTargets.xml");
    const juce::String digest = juce::String::repeatedString ("ab", 32);

    juce::String catalogueWith (const juce::String& revisionAttributes)
    {
        return "<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\"><Product Name=\"Calvio Hall Reverb\" ProductID=\"2\">"
               "<Revisions><Revision Version=\"1.5\" ImageUrl=\"http://example.com/hall-1.5.bin\"" + revisionAttributes + "/>"
               "</Revisions></Product></Family></Brand></Config>";
    }

    const juce::String stamped = catalogueWith (" Size=\"4096\" Sha256=\"" + digest + "\"");
    const juce::String sizeOnly = catalogueWith (" Size=\"4096\"");

    const juce::String notSigned ("The catalogue's signature could not be verified, so it may not be the vendor's");
    const juce::String oldKind ("The catalogue's signature is of an older kind, which does not say which catalogue it is "
                                "or until when it holds; the vendor must sign the catalogue again");
    const juce::String noDigest ("The catalogue gives no SHA-256 digest for the image of Calvio Hall Reverb version 1.5, so "
                                 "that image could not be checked; the vendor must stamp the catalogue");

    juce::MemoryBlock bytesOf (const juce::String& text)
    {
        return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
    }

    juce::Time utc (const char* isoTime)
    {
        return juce::Time::fromISO8601 (isoTime);
    }

    // 2026-12-08T23:45:12Z
    const juce::Time signingTime = utc ("2026-12-08T23:45:12Z");

    juce::String validFile()
    {
        static const auto key = CatalogueSigningKey::generate();
        return key.sign (bytesOf (stamped), CatalogueSignature::Claims::issued (cataloguePath, signingTime, 30)).toFileText();
    }

    juce::MemoryBlock fileOf (const std::string& text)
    {
        return { text.data(), text.size() };
    }
}

TEST (CatalogueSignatureFile, ClaimsAreWrittenInUtcWithTheTimeOfSigningAsTheSerial)
{
    struct Case
    {
        const char* signedAt;
        int days;
        juce::int64 serial;
        const char* expires;
    };

    // clang-format off
    const Case cases[] {
        { "2026-12-08T23:45:12Z",  30, 20261208234512, "2027-01-07T23:45:12Z" },
        { "1970-01-01T00:00:00Z",   1, 19700101000000, "1970-01-02T00:00:00Z" },
        { "2028-02-28T12:00:00Z",   1, 20280228120000, "2028-02-29T12:00:00Z" },
        { "2100-02-28T23:59:59Z",   1, 21000228235959, "2100-03-01T23:59:59Z" },
        { "2026-12-31T23:59:59Z", 366, 20261231235959, "2028-01-01T23:59:59Z" }
    };
    // clang-format on

    for (const auto& c : cases)
    {
        const auto claims = CatalogueSignature::Claims::issued (cataloguePath, utc (c.signedAt), c.days);
        EXPECT_EQ (claims.serial, c.serial) << c.signedAt;
        EXPECT_EQ (CatalogueSignature::formatTime (claims.signedAt), c.signedAt);
        EXPECT_EQ (CatalogueSignature::formatTime (claims.expiresAt), c.expires) << c.signedAt;
    }
}

TEST (CatalogueSignatureFile, OnlyTheExactLayoutReadsAsASignatureAndItReadsBackAsWritten)
{
    using Edit = std::function<std::string (std::string)>;

    const auto replace = [] (std::string from, std::string to) -> Edit
    {
        return [from, to] (std::string text)
        {
            const auto at = text.find (from);
            return at == std::string::npos ? std::string ("no such text") : text.replace (at, from.size(), to);
        };
    };

    const auto lineOf = [] (const std::string& text, const char* field)
    {
        const auto start = text.find (std::string ("\n") + field + " ") + 1;
        return text.substr (start, text.find ('\n', start) + 1 - start);
    };

    struct Case
    {
        const char* name;
        Edit edit;
        bool isSignature;
    };

    // clang-format off
    const Case cases[] {
        { "as written",                 [] (std::string t) { return t; },                                    true },
        { "CR LF line ends",            [] (std::string t) { std::string out; for (auto c : t) { if (c == '\n') out += '\r'; out += c; } return out; }, false },
        { "no closing line break",      [] (std::string t) { return t.substr (0, t.size() - 1); },            false },
        { "an empty line after",        [] (std::string t) { return t + "\n"; },                              false },
        { "a field more",               [] (std::string t) { return t + "comment hello\n"; },                 false },
        { "a field twice",              [&] (std::string t) { return lineOf (t, "serial") + t; },             false },
        { "a field missing",            [&] (std::string t) { return replace (lineOf (t, "serial"), "") (t); },  false },
        { "fields swapped",             [&] (std::string t) { const auto s = lineOf (t, "signed"), e = lineOf (t, "expires");
                                                              return replace (s + e, e + s) (t); },                  false },
        { "a newer version",            replace ("signature 2\n", "signature 3\n"),                          false },
        { "a blank before a value",     replace ("serial 2", "serial  2"),                                   false },
        { "serial with a leading zero", replace ("serial 2", "serial 02"),                                   false },
        { "serial negative",            replace ("serial 2", "serial -2"),                                   false },
        { "serial of nineteen digits",  replace ("serial 20261208234512", "serial 2026120823451200000"),    false },
        { "a day that does not exist",  replace ("signed 2026-12-08", "signed 2026-02-30"),                  false },
        { "a time with an offset",      replace ("23:45:12Z\nexpires", "23:45:12+01:00\nexpires"),           false },
        { "a time in lower case",       replace ("2026-12-08T23:45:12Z", "2026-12-08t23:45:12z"),            false },
        { "a year before 1970",         replace ("signed 2026", "signed 1969"),                              false },
        { "digest in upper case",       [&] (std::string t) { auto l = lineOf (t, "sha256");
                                                              std::transform (l.begin() + 7, l.end(), l.begin() + 7, ::toupper);
                                                              return replace (lineOf (t, "sha256"), l) (t); },       false },
        { "digest one digit short",     [&] (std::string t) { const auto l = lineOf (t, "sha256");
                                                              return replace (l, l.substr (0, l.size() - 2) + "\n") (t); }, false },
        { "signature base64 broken",    replace ("signature ", "signature ="),                               false },
        { "signature with a blank",     replace ("signature ", "signature A "),                              false },
        { "name without a slash",       replace ("name /", "name "),                                         false },
        { "name with a query",          replace ("UpdateTargets.xml\n", "UpdateTargets.xml?beta=1\n"),       false },
        { "name with a blank",          replace ("common/", "common /"),                                     false },
        { "name with a control char",   replace ("common/", "common\x1b[2J/"),                               false },
        { "name not ASCII",             replace ("common/", "comm\xc3\xa9n/"),                               false },
        { "a zero byte",                replace ("common/", std::string ("co\0mmon/", 8)),                  false },
        { "larger than any",            [] (std::string t) { return t + std::string (2000, 'x'); },          false },
        { "empty",                      [] (std::string) { return std::string(); },                          false },
        { "the older kind",             [] (std::string) { return std::string (88, 'A').replace (86, 2, "==") + "\n"; }, false }
    };
    // clang-format on

    const auto valid = validFile().toStdString();

    for (const auto& c : cases)
    {
        const auto text = c.edit (valid);
        const auto signature = CatalogueSignature::fromFile (fileOf (text));
        EXPECT_EQ (signature.has_value(), c.isSignature) << c.name << "\n" << text;

        if (signature.has_value())
            EXPECT_EQ (signature->toFileText().toStdString(), text) << c.name;
    }

    EXPECT_TRUE (CatalogueSignature::isOldFormat (fileOf (cases[std::size (cases) - 1].edit (valid))));
    EXPECT_FALSE (CatalogueSignature::isOldFormat (fileOf (valid)));
}

namespace
{
    enum class Served
    {
        nothing,
        signature,
        signatureByAnotherKey,
        signatureOfAnotherCatalogue,
        signatureThenOneCatalogueByteChanged,
        textThatIsNoSignature,
        signatureOfTheOlderKind,
        signatureNamingTheBetaCatalogue,
        signatureExpired,
        signatureAtTheServersRootPath
    };

    enum class Record
    {
        none,           // not even its folder exists
        garbage,
        oversized,      // a higher serial in it, past the bound of what is read
        unwritable,     // where its folder should be, a file
        pipe,           // opening it to read waits for a writer
        higher,
        equal,
        lower,
        higherForAnotherKey,
        higherForAnotherName
    };

    struct SignatureCase
    {
        const char* name;
        bool keyBuiltIn;
        bool fromLocalFile;
        const juce::String& catalogue;
        Served served;
        Record record;
        juce::String refusal;          // empty: taken
        int recordedAfter;             // the serial recorded afterwards, relative to the served one; -99: none
    };

    constexpr int nothingRecorded = -99;

    struct Fetched
    {
        TargetsResult status;
        juce::String errorMessage;
    };

    class CatalogueSignatureCheck : public ::testing::TestWithParam<SignatureCase>
    {
    protected:
        ~CatalogueSignatureCheck() override { folder.deleteRecursively(); }

        Fetched fetch()
        {
            const auto& row = GetParam();
            auto catalogueServed = row.catalogue;
            writeRecord (row.record);

            if (const auto signature = signatureFile (row.served, catalogueServed); signature.isNotEmpty())
                server.setAnswer (catalogueAt + ".sig", LoopbackServer::Answer::withText (signature));

            server.setAnswer (catalogueAt, LoopbackServer::Answer::withText (catalogueServed));
            folder.createDirectory();
            const auto localFile = folder.getChildFile ("UpdateTargets.xml");
            localFile.replaceWithText (catalogueServed);

            const auto source = row.fromLocalFile ? localFile.getFullPathName() : server.getUrl (catalogueAt) + "?nocache=8+Dec+2026";
            TargetsInfoDownloadThread thread ({ source }, nullptr, nullptr,
                                              row.keyBuiltIn ? std::optional (signer()) : std::nullopt);
            thread.startThread();
            const auto ended = thread.waitForThreadToExit (10000);
            EXPECT_TRUE (ended) << "the catalogue's worker is still waiting";

            if (! ended && row.record == Record::pipe)
                releaseReadersOfThePipe (thread);

            return { thread.getStatus(), thread.getErrorMessage() };
        }

        // A reader of a pipe waits until a writer opens it: be that writer as often as the
        // worker comes back to it, so that a worker held there still ends.
        void releaseReadersOfThePipe (juce::Thread& worker) const
        {
            for (int attempt = 0; attempt < 50 && ! worker.waitForThreadToExit (100); ++attempt)
                if (const auto writer = ::open (record.getFullPathName().toRawUTF8(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); writer >= 0)
                    ::close (writer);
        }

        CatalogueSigner signer() const { return { vendor.getPublicKey(), record }; }

        juce::String signatureFile (Served served, juce::String& catalogueServed) const
        {
            const auto& catalogue = GetParam().catalogue;

            switch (served)
            {
                case Served::nothing:                         return {};
                case Served::signature:                       return sign (vendor, catalogue, claims);
                case Served::signatureByAnotherKey:           return sign (stranger, catalogue, claims);
                case Served::signatureOfAnotherCatalogue:     return sign (vendor, "<Config/>", claims);
                case Served::textThatIsNoSignature:           return "not a signature\n";
                case Served::signatureNamingTheBetaCatalogue: return sign (vendor, catalogue, withName ("/updater/beta/config/UpdateTargets.xml"));
                case Served::signatureAtTheServersRootPath:   return sign (vendor, catalogue, withName ("/UpdateTargets.xml"));
                case Served::signatureOfTheOlderKind:
                    return juce::Base64::toBase64 (std::string (64, 'x')) + "\n";
                case Served::signatureExpired:
                    return sign (vendor, catalogue, CatalogueSignature::Claims::issued (cataloguePath, juce::Time::getCurrentTime()
                                                                                        - juce::RelativeTime::days (31), 30));
                case Served::signatureThenOneCatalogueByteChanged:
                    catalogueServed = catalogue.replace ("ProductID=\"2\"", "ProductID=\"3\"");
                    return sign (vendor, catalogue, claims);
            }

            return {};
        }

        static juce::String sign (const CatalogueSigningKey& key, const juce::String& catalogue, const CatalogueSignature::Claims& claimsMade)
        {
            return key.sign (bytesOf (catalogue), claimsMade).toFileText();
        }

        CatalogueSignature::Claims withName (const juce::String& name) const
        {
            auto renamed = claims;
            renamed.name = name;
            return renamed;
        }

        void writeRecord (Record kind) const
        {
            const auto entry = [this] (const CatalogueSigningKey& key, const juce::String& name, juce::int64 serial)
            {
                return key.getPublicKey().toBase64() + " " + name + " " + juce::String (serial) + "\n";
            };

            const auto served = claims.serial;
            juce::String text;
            juce::MemoryBlock data;

            switch (kind)
            {
                case Record::none:                 return;
                case Record::unwritable:           folder.createDirectory(); record.getParentDirectory().replaceWithText ("a file"); return;
                case Record::pipe:                 record.getParentDirectory().createDirectory();
                                                   ASSERT_EQ (::mkfifo (record.getFullPathName().toRawUTF8(), 0600), 0); return;
                case Record::garbage:              data.append ("\x01\xff\xfe garbage\n", 13);
                                                   text = vendor.getPublicKey().toBase64() + " " + cataloguePath + " -5\n"; break;
                case Record::oversized:            text = entry (vendor, cataloguePath, served + 1) + juce::String::repeatedString ("#", 70000); break;
                case Record::higher:               text = entry (vendor, cataloguePath, served + 1); break;
                case Record::equal:                text = entry (vendor, cataloguePath, served); break;
                case Record::lower:                text = entry (vendor, cataloguePath, served - 1); break;
                case Record::higherForAnotherKey:  text = entry (stranger, cataloguePath, served + 1); break;
                case Record::higherForAnotherName: text = entry (vendor, "/updater/beta/config/UpdateTargets.xml", served + 1); break;
            }

            data.append (text.toRawUTF8(), text.getNumBytesAsUTF8());
            record.getParentDirectory().createDirectory();
            record.replaceWithData (data.getData(), data.getSize());
        }

        std::optional<juce::int64> recordedSerial() const
        {
            return AcceptedCatalogues (record).highestSerial (vendor.getPublicKey(), cataloguePath);
        }

        const CatalogueSigningKey vendor = CatalogueSigningKey::generate();
        const CatalogueSigningKey stranger = CatalogueSigningKey::generate();
        const CatalogueSignature::Claims claims = CatalogueSignature::Claims::issued (cataloguePath, juce::Time::getCurrentTime(), 30);
        const juce::String catalogueAt = cataloguePath;
        const juce::File folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                      .getChildFile ("quillon-signature-" + juce::String::toHexString (juce::Random().nextInt64()));
        const juce::File record = folder.getChildFile ("Quillon/accepted-catalogues");
        LoopbackServer server;
    };

    void PrintTo (const SignatureCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<SignatureCase>& info)
    {
        return info.param.name;
    }

    const juce::String taken;
    // Messages that hold the time or the serials, which the test builds.
    const juce::String messageWithTheExpiry ("(the expiry)");
    const juce::String messageWithTheSerials ("(the serials)");
    const juce::String wrongName ("The catalogue is signed as /updater/beta/config/UpdateTargets.xml, not as the one asked for, "
                                  "/updater/common/config/UpdateTargets.xml, so another catalogue may be being served in its place");
    const juce::String atRoot ("The catalogue is signed as /UpdateTargets.xml, not as the one asked for, "
                               "/updater/common/config/UpdateTargets.xml, so another catalogue may be being served in its place");
}

TEST_P (CatalogueSignatureCheck, TheServersCatalogueIsTakenOnlyWhenTheVendorsSignatureFileAllowsIt)
{
    const auto& row = GetParam();
    const auto recordedBefore = recordedSerial();
    const auto fetched = fetch();

    EXPECT_EQ (fetched.status, row.refusal.isEmpty() ? TargetsResult::TargetsOk : TargetsResult::TargetsParseError);

    // The serials are the time, so the messages about them are built here.
    if (row.refusal == messageWithTheSerials)
        EXPECT_EQ (fetched.errorMessage, "The catalogue (serial " + juce::String (claims.serial) + ") is older than one already "
                                         "taken (serial " + juce::String (claims.serial + 1) + "), so an old catalogue may be "
                                         "being served again to hide newer updates");
    else if (row.refusal == messageWithTheExpiry)
        EXPECT_TRUE (fetched.errorMessage.startsWith ("The catalogue's signature expired on ")
                     && fetched.errorMessage.endsWith (" UTC, so an old catalogue may be being served again (or this computer's clock is wrong)"))
            << fetched.errorMessage;
    else
        EXPECT_EQ (fetched.errorMessage, row.refusal);

    const auto recordedAfter = recordedSerial();

    if (row.recordedAfter == nothingRecorded)
        EXPECT_EQ (recordedAfter, recordedBefore);
    else
        EXPECT_EQ (recordedAfter, std::optional (claims.serial + row.recordedAfter));

    const auto requests = server.getRequests();
    const auto signatureAskedFor = std::any_of (requests.begin(), requests.end(), [this] (const auto& request)
                                                { return request.target == catalogueAt + ".sig?nocache=8+Dec+2026"; });
    EXPECT_EQ (signatureAskedFor, row.keyBuiltIn && ! row.fromLocalFile);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Cases, CatalogueSignatureCheck, ::testing::Values (
    SignatureCase { "Valid",                         true,  false, stamped,  Served::signature,                            Record::none,                 taken,     0 },
    SignatureCase { "Missing",                       true,  false, stamped,  Served::nothing,                              Record::none,                 notSigned, nothingRecorded },
    SignatureCase { "ByAnotherKey",                  true,  false, stamped,  Served::signatureByAnotherKey,                Record::none,                 notSigned, nothingRecorded },
    SignatureCase { "OfAnotherCatalogue",            true,  false, stamped,  Served::signatureOfAnotherCatalogue,          Record::none,                 notSigned, nothingRecorded },
    SignatureCase { "OneCatalogueByteChanged",       true,  false, stamped,  Served::signatureThenOneCatalogueByteChanged, Record::none,                 notSigned, nothingRecorded },
    SignatureCase { "NoSignatureText",               true,  false, stamped,  Served::textThatIsNoSignature,                Record::none,                 notSigned, nothingRecorded },
    SignatureCase { "OfTheOlderKind",                true,  false, stamped,  Served::signatureOfTheOlderKind,              Record::none,                 oldKind,   nothingRecorded },
    SignatureCase { "NamingTheBetaCatalogue",        true,  false, stamped,  Served::signatureNamingTheBetaCatalogue,      Record::none,                 wrongName, nothingRecorded },
    SignatureCase { "NamingAnotherPathOnTheServer",  true,  false, stamped,  Served::signatureAtTheServersRootPath,        Record::none,                 atRoot,    nothingRecorded },
    SignatureCase { "Expired",                       true,  false, stamped,  Served::signatureExpired,                     Record::none,                 messageWithTheExpiry,  nothingRecorded },
    SignatureCase { "OlderThanOneTakenBefore",       true,  false, stamped,  Served::signature,                            Record::higher,               messageWithTheSerials, 1 },
    SignatureCase { "AsOldAsOneTakenBefore",         true,  false, stamped,  Served::signature,                            Record::equal,                taken,     0 },
    SignatureCase { "NewerThanOneTakenBefore",       true,  false, stamped,  Served::signature,                            Record::lower,                taken,     0 },
    SignatureCase { "RecordGarbled",                 true,  false, stamped,  Served::signature,                            Record::garbage,              taken,     0 },
    SignatureCase { "RecordLargerThanAnyIsIgnored",  true,  false, stamped,  Served::signature,                            Record::oversized,            taken,     0 },
    SignatureCase { "RecordCannotBeWritten",         true,  false, stamped,  Served::signature,                            Record::unwritable,           taken,     nothingRecorded },
    SignatureCase { "RecordIsAPipe",                 true,  false, stamped,  Served::signature,                            Record::pipe,                 taken,     0 },
    SignatureCase { "OlderThanAnotherKeysCatalogue", true,  false, stamped,  Served::signature,                            Record::higherForAnotherKey,  taken,     0 },
    SignatureCase { "OlderThanAnotherCatalogue",     true,  false, stamped,  Served::signature,                            Record::higherForAnotherName, taken,     0 },
    SignatureCase { "RevisionWithoutDigest",         true,  false, sizeOnly, Served::signature,                            Record::none,                 noDigest,  nothingRecorded },
    SignatureCase { "NoKeyBuiltInTakesItUnsigned",   false, false, sizeOnly, Served::nothing,                              Record::none,                 taken,     nothingRecorded },
    SignatureCase { "LocalFileIsTakenUnsigned",      true,  true,  sizeOnly, Served::nothing,                              Record::none,                 taken,     nothingRecorded },
    SignatureCase { "LocalFileIsTakenAsChanged",     true,  true,  stamped,  Served::signatureThenOneCatalogueByteChanged, Record::none,                 taken,     nothingRecorded }), nameOf);
// clang-format on

TEST (CatalogueSignature, TheWizardUpdatesOnlyWithASignedCatalogueThatGivesEveryImagesDigest)
{
    const auto vendor = CatalogueSigningKey::generate();
    const auto image = WizardWorld::makeImage();

    struct Case
    {
        const char* name;
        bool signatureServed;
        bool stamped;
        const char* expectedText;
    };

    const juce::String unstampedRefusal ("The catalogue gives no SHA-256 digest for the image of Test Reverb version 1.5, so "
                                         "that image could not be checked; the vendor must stamp the catalogue");
    // clang-format off
    const Case cases[] {
        { "signed and stamped", true,  true,  nullptr },
        { "not signed",         false, true,  notSigned.toRawUTF8() },
        { "signed, no digest",  true,  false, unstampedRefusal.toRawUTF8() }
    };
    // clang-format on

    for (const auto& c : cases)
    {
        WizardWorld world;
        auto& device = world.addDevice (WizardWorld::reverbDevice());
        const auto imageUrl = world.serve ("/images/reverb-1.5.bin", LoopbackServer::Answer::withData (image));
        const auto size = c.stamped ? juce::String ((int) image.getSize()) : juce::String();
        const auto sha256 = c.stamped ? ExpectedImage::sha256Of (image) : juce::String();
        world.serveCatalogue (CatalogueXml().addProduct (device.getConfig(), "Test Reverb", { { "1.5", imageUrl, {}, size, sha256 } })
                                  .toString());

        const juce::TemporaryFile record;
        world.catalogueSigner = CatalogueSigner (vendor.getPublicKey(), record.getFile());
        WizardDriver driver (world.makeWizard (devicetest::shortReplyTimeouts()));

        if (c.signatureServed)
            world.serve (cataloguePath + ".sig",
                         LoopbackServer::Answer::withText (vendor.sign (bytesOf (world.servedCatalogue),
                                                                        CatalogueSignature::Claims::issued (cataloguePath, juce::Time::getCurrentTime(), 30))
                                                               .toFileText()));

        if (c.expectedText == nullptr)
        {
            EXPECT_TRUE (driver.updateToTheNewestVersion()) << c.name;
            EXPECT_EQ (driver.caption(), UserTexts::updateSucceeded) << c.name;
            continue;
        }

        driver.click (UserTexts::next);

        EXPECT_EQ (driver.caption(), UserTexts::invalidTargetsFile) << c.name;
        EXPECT_EQ (driver.pageText(), c.expectedText) << c.name;
        EXPECT_TRUE (device.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost).empty()) << c.name;
    }
}

TEST (AcceptedCatalogues, TheUsersRecordLiesUnderAnAbsoluteXdgConfigHomeElseUnderTheHomesConfigFolder)
{
    const auto dotConfig = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config").getFullPathName();
    const auto* given = ::getenv ("XDG_CONFIG_HOME");
    const auto saved = given != nullptr ? std::optional<std::string> (given) : std::nullopt;

    // Without a value (nullptr), an empty one, or one that is no absolute path: ~/.config.
    for (const auto& [value, folder] : { std::pair<const char*, juce::String> { nullptr, dotConfig }, { "/tmp/h/xdg", "/tmp/h/xdg" },
                                         { "", dotConfig }, { "h/xdg", dotConfig }, { "~/xdg", dotConfig } })
    {
        if (value != nullptr)
            ::setenv ("XDG_CONFIG_HOME", value, 1);
        else
            ::unsetenv ("XDG_CONFIG_HOME");

        EXPECT_EQ (AcceptedCatalogues::usersRecord().getFullPathName(), folder + "/Quillon/accepted-catalogues")
            << (value != nullptr ? value : "unset");
    }

    if (saved.has_value())
        ::setenv ("XDG_CONFIG_HOME", saved->c_str(), 1);
    else
        ::unsetenv ("XDG_CONFIG_HOME");
}
