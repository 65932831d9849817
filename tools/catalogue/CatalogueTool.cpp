#include "tools/catalogue/CatalogueTool.h"

#include "catalogue/CatalogueSigningKey.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "tools/catalogue/CatalogueStamper.h"
#include "tools/catalogue/ProgramCatalogue.h"
#include "tools/catalogue/ToolFiles.h"

namespace
{
    // A key file holds one line of base64: far less than this.
    constexpr juce::int64 largestKeyFile = 1024;

    struct Command
    {
        const juce::StringArray& arguments;
        const juce::File& workingFolder;
        std::ostream& out;
        std::ostream& errors;

        juce::File file (int index) const { return workingFolder.getChildFile (arguments[index]); }

        void requireArguments (int count) const
        {
            if (arguments.size() != count + 1)
                throw ToolError ("'" + arguments[0] + "' takes " + juce::String (count)
                                 + (count == 1 ? " argument" : " arguments"), ExitCode::usage);
        }

        juce::MemoryBlock readCatalogue (const juce::File& catalogue) const
        {
            return ToolFiles::read (catalogue, TargetsInfoDownloadThread::largestTargetsFile, "catalogue");
        }
    };

    juce::String readKeyText (const juce::File& file, const juce::String& what)
    {
        return ToolFiles::read (file, largestKeyFile, what).toString();
    }

    int keygen (const Command& command)
    {
        command.requireArguments (1);
        const auto keyFile = command.file (1);
        const auto publicFile = keyFile.getSiblingFile (keyFile.getFileName() + ".pub");

        if (publicFile.exists())
            throw ToolError (publicFile.getFullPathName() + " already exists; it is left as it is");

        const auto key = CatalogueSigningKey::generate();
        const auto publicKey = key.getPublicKey().toBase64();
        ToolFiles::createNew (keyFile, key.toBase64() + "\n", true);

        try
        {
            ToolFiles::createNew (publicFile, publicKey + "\n", false);
        }
        catch (const ToolError&)
        {
            // A secret key without its public half would only be a puzzle later.
            keyFile.deleteFile();
            throw;
        }

        command.out << "Secret key: " << keyFile.getFullPathName() << " (keep it secret; only sign reads it)\n"
                    << "Public key: " << publicFile.getFullPathName() << "\n"
                    << publicKey << "\n"
                    << "Build the program with it: cmake -DQUILLON_CATALOGUE_PUBLIC_KEY=" << publicKey << " ...\n";
        return (int) ExitCode::success;
    }

    int hash (const Command& command)
    {
        if (command.arguments.size() < 2)
            throw ToolError ("'hash' takes one image or more", ExitCode::usage);

        for (int i = 1; i < command.arguments.size(); ++i)
            command.out << CatalogueStamper::describe (CatalogueStamper::readImage (command.file (i))) << "  "
                        << command.arguments[i] << "\n";

        return (int) ExitCode::success;
    }

    int stamp (const Command& command)
    {
        const auto& arguments = command.arguments;
        const auto imagesAt = arguments.indexOf ("--images");
        const auto outAt = arguments.indexOf ("--out");
        const auto expected = outAt < 0 ? 4 : 6;

        const auto isValue = [&] (int index) { return index < arguments.size() && ! arguments[index].startsWith ("--"); };

        if (arguments.size() != expected || ! isValue (1) || imagesAt < 0 || ! isValue (imagesAt + 1)
            || (outAt >= 0 && ! isValue (outAt + 1)))
            throw ToolError ("'stamp' takes a catalogue, --images FOLDER and optionally --out FILE", ExitCode::usage);

        const auto catalogueFile = command.file (1);
        const auto folder = command.file (imagesAt + 1);
        const auto outFile = outAt < 0 ? catalogueFile : command.file (outAt + 1);

        if (! folder.isDirectory())
            throw ToolError ("The image folder " + folder.getFullPathName() + " does not exist");

        const ImageFolder images (folder);
        const auto result = CatalogueStamper (images).stamp (command.readCatalogue (catalogueFile));
        ToolFiles::replace (outFile, result.catalogue);

        for (const auto& line : result.unstamped)
            command.errors << "Left unstamped: " << line << "\n";

        command.out << "Stamped " << result.stamped << " of " << (result.stamped + result.unstamped.size())
                    << " revisions into " << outFile.getFullPathName() << "\n";

        return (int) (result.unstamped.isEmpty() ? ExitCode::success : ExitCode::incomplete);
    }

    struct SignOptions
    {
        juce::String name { CatalogueTool::defaultName };
        int daysValid = CatalogueTool::defaultDaysValid;
    };

    SignOptions signOptions (const juce::StringArray& arguments)
    {
        const auto isValue = [&] (int index) { return ! arguments[index].startsWith ("--"); };
        const auto isDays = [] (const juce::String& text)
        {
            return text.containsOnly ("0123456789") && text.length() <= 4
                && text.getIntValue() >= 1 && text.getIntValue() <= CatalogueTool::longestDaysValid;
        };

        if (arguments.size() < 3 || arguments.size() % 2 == 0 || ! isValue (1) || ! isValue (2))
            throw ToolError ("'sign' takes a catalogue and a secret key file, then optionally --name PATH and --expires DAYS",
                             ExitCode::usage);

        SignOptions options;

        for (int i = 3; i < arguments.size(); i += 2)
        {
            const auto& value = arguments[i + 1];

            if (arguments[i] == "--name" && CatalogueSignature::isValidName (value))
                options.name = value;
            else if (arguments[i] == "--expires" && isDays (value))
                options.daysValid = value.getIntValue();
            else
                throw ToolError ("'sign' takes --name with the catalogue's path on the server (starting with \"/\", without "
                                 "query) and --expires with a number of days from 1 to " + juce::String (CatalogueTool::longestDaysValid),
                                 ExitCode::usage);
        }

        return options;
    }

    // The signature ties an image to the catalogue only through its size and digest.
    void requireStamped (const TargetsInfo& catalogue)
    {
        juce::StringArray unstamped;

        for (const auto* product : catalogue.products)
            for (const auto* revision : product->revisions)
                if (! revision->imageSize.has_value() || revision->imageSha256.isEmpty())
                    unstamped.add (product->name + " " + revision->version);

        if (! unstamped.isEmpty())
            throw ToolError ("Not signed: these revisions lack the Size or Sha256 of their image, so nothing would tie "
                             "the image to the signature; stamp them first: " + unstamped.joinIntoString (", "));
    }

    // The program refuses a catalogue whose serial is below one it took before, so a
    // signing on a computer whose clock is behind the last one's would lock users out.
    void requireSerialNotBelowTheOneThere (const juce::File& signatureFile, const CatalogueSignature::Claims& claims)
    {
        std::optional<CatalogueSignature> there;

        try
        {
            if (signatureFile.existsAsFile())
                there = CatalogueSignature::fromFile (ToolFiles::read (signatureFile, CatalogueSignature::largestFile,
                                                                       "signature"));
        }
        catch (const ToolError&)
        {
            // Not a signature anyone could have taken: it is simply replaced.
        }

        if (there.has_value() && there->getClaims().name == claims.name && there->getClaims().serial > claims.serial)
            throw ToolError ("Not signed: " + signatureFile.getFullPathName() + " carries serial "
                             + juce::String (there->getClaims().serial) + ", above this signing's "
                             + juce::String (claims.serial) + ", so this computer's clock is behind the one that "
                             "signed it, and users who took that catalogue would refuse this one; set the clock right");
    }

    int sign (const Command& command)
    {
        const auto options = signOptions (command.arguments);
        const auto catalogueFile = command.file (1);
        const auto keyFile = command.file (2);
        const auto catalogue = command.readCatalogue (catalogueFile);
        const auto key = CatalogueSigningKey::fromBase64 (readKeyText (keyFile, "secret key"));

        if (! key.has_value())
            throw ToolError (keyFile.getFullPathName() + " is not a secret key made by 'keygen'");

        if (ToolFiles::isReadableByOthers (keyFile))
            command.errors << "Warning: other users may read the secret key " << keyFile.getFullPathName()
                           << "; make it yours alone: chmod 600 " << keyFile.getFullPathName() << "\n";

        // Signing tells the program to trust the text: it must be one the program reads.
        requireStamped (*ProgramCatalogue::read (catalogue).catalogue);

        // A key file whose two halves no longer belong together signs what no key verifies.
        const auto claims = CatalogueSignature::Claims::issued (options.name, juce::Time::getCurrentTime(), options.daysValid);
        const auto signature = key->sign (catalogue, claims);

        if (! key->getPublicKey().hasSigned (catalogue, signature))
            throw ToolError (keyFile.getFullPathName() + " is damaged: its signatures do not verify");

        const auto signatureFile = CatalogueTool::signatureFileFor (catalogueFile);
        requireSerialNotBelowTheOneThere (signatureFile, claims);
        const auto signatureText = signature.toFileText();
        ToolFiles::replace (signatureFile, { signatureText.toRawUTF8(), signatureText.getNumBytesAsUTF8() });
        command.out << "Signed with public key " << key->getPublicKey().toBase64() << " as " << claims.name
                    << ", serial " << claims.serial << ", until " << CatalogueSignature::formatTime (claims.expiresAt)
                    << ": " << signatureFile.getFullPathName() << "\n";
        return (int) ExitCode::success;
    }

    int verify (const Command& command)
    {
        command.requireArguments (2);
        const auto catalogueFile = command.file (1);
        const auto catalogue = command.readCatalogue (catalogueFile);

        // A file when there is one by that name; otherwise the key itself.
        const auto keyFile = command.file (2);
        const auto keyText = keyFile.existsAsFile() ? readKeyText (keyFile, "public key") : command.arguments[2];
        const auto publicKey = CataloguePublicKey::fromBase64 (keyText);

        if (! publicKey.has_value())
            throw ToolError ("'" + command.arguments[2] + "' is neither a public key nor a file holding one");

        const auto signatureFile = CatalogueTool::signatureFileFor (catalogueFile);

        if (! signatureFile.existsAsFile())
            throw ToolError ("Not valid: there is no signature " + signatureFile.getFullPathName(), ExitCode::notValid);

        const auto file = ToolFiles::read (signatureFile, CatalogueSignature::largestFile, "signature");
        const auto signature = CatalogueSignature::fromFile (file);

        if (! signature.has_value() && CatalogueSignature::isOldFormat (file))
            throw ToolError ("Not valid: " + signatureFile.getFullPathName() + " is a signature of the older kind, which "
                             "makes no claims and which the program refuses; sign the catalogue again", ExitCode::notValid);

        if (! signature.has_value())
            throw ToolError ("Not valid: " + signatureFile.getFullPathName() + " is not a signature", ExitCode::notValid);

        if (! publicKey->hasSigned (catalogue, *signature))
            throw ToolError ("Not valid: the signature was not made with this key over these exact bytes",
                             ExitCode::notValid);

        const auto& claims = signature->getClaims();
        command.out << "name " << claims.name << "\n"
                    << "serial " << claims.serial << "\n"
                    << "signed " << CatalogueSignature::formatTime (claims.signedAt) << "\n"
                    << "expires " << CatalogueSignature::formatTime (claims.expiresAt) << "\n";

        if (juce::Time::getCurrentTime() >= claims.expiresAt)
            throw ToolError ("Not valid: the signature has expired; sign the catalogue again", ExitCode::notValid);

        command.out << "valid\n";
        return (int) ExitCode::success;
    }
}

int CatalogueTool::run (const juce::StringArray& arguments, const juce::File& workingFolder,
                        std::ostream& out, std::ostream& errors)
{
    const auto name = arguments[0];

    if (name == "--help" || name == "-h" || name == "help")
    {
        out << usage();
        return (int) ExitCode::success;
    }

    const Command command { arguments, workingFolder, out, errors };

    try
    {
        if (name == "keygen")  return keygen (command);
        if (name == "hash")    return hash (command);
        if (name == "stamp")   return stamp (command);
        if (name == "sign")    return sign (command);
        if (name == "verify")  return verify (command);

        throw ToolError (name.isEmpty() ? juce::String ("No command given") : "Unknown command '" + name + "'",
                         ExitCode::usage);
    }
    catch (const ToolError& e)
    {
        errors << "quillon-catalogue: " << e.what() << "\n";

        if (e.exitCode == ExitCode::usage)
            errors << usage();

        return (int) e.exitCode;
    }
}

juce::String CatalogueTool::usage()
{
    return "Usage: quillon-catalogue COMMAND ...\n"
           "  keygen KEYFILE        makes a signing key: the secret key in KEYFILE (mode 0600), the public\n"
           "                        key in KEYFILE.pub; refuses to overwrite either\n"
           "  hash IMAGE...         prints each image's Size and Sha256 attributes\n"
           "  stamp CATALOGUE --images FOLDER [--out FILE]\n"
           "                        writes the Size and Sha256 of every revision whose ImageUrl path lies\n"
           "                        under FOLDER (a copy of the served folder) into CATALOGUE, or FILE\n"
           "  sign CATALOGUE KEYFILE [--name PATH] [--expires DAYS]\n"
           "                        writes CATALOGUE.sig: the signature over CATALOGUE's exact bytes,\n"
           "                        naming it PATH, its path on the server (default\n"
           "                        " + juce::String (defaultName) + "), holding for DAYS days\n"
           "                        (default " + juce::String (defaultDaysValid) + "), with the time of signing as its serial; refuses\n"
           "                        a catalogue with any revision left unstamped\n"
           "  verify CATALOGUE PUBKEY\n"
           "                        prints the claims of CATALOGUE.sig and \"valid\" when it was made with\n"
           "                        PUBKEY (a .pub file or the key's base64) over CATALOGUE's exact bytes\n"
           "                        and has not expired\n"
           "Exit codes: 0 done (verify: valid); 1 verify: not valid or expired; 2 wrong command line;\n"
           "            3 an input is missing, too large or not what it must be (sign: a revision\n"
           "              unstamped), or an output cannot be written; 4 stamp: written, but some\n"
           "              revisions left unstamped\n";
}

juce::File CatalogueTool::signatureFileFor (const juce::File& catalogue)
{
    return catalogue.getSiblingFile (catalogue.getFileName() + ".sig");
}
