#include "catalogue/CatalogueSigner.h"
#include "catalogue/CatalogueSigningKey.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"

// Input: the bytes of a catalogue's signature file, as a server sends it. The same bytes
// are also the record of the serials taken before, as a damaged record would read.
namespace
{
    const juce::String address ("http://127.0.0.1:8080/updater/common/config/UpdateTargets.xml?nocache=1");
    const juce::MemoryBlock catalogue ("<Config/>", 9);

    // A key nobody but this target signs with; what arrives never carries its signature.
    const CatalogueSigningKey& fuzzKey()
    {
        static const auto key = CatalogueSigningKey::generate();
        return key;
    }

    const juce::File& recordFile()
    {
        static const juce::TemporaryFile file;
        return file.getFile();
    }

    juce::MemoryBlock fileOf (const juce::String& text)
    {
        return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
    }

    void checkVerdict (const CatalogueSigner& signer, const juce::MemoryBlock& file, bool mayBeTaken)
    {
        const auto now = juce::Time::getCurrentTime();
        const auto verdict = signer.check (catalogue, &file, address, now);

        fuzzExpect (verdict.signature.has_value() != verdict.refusal.isNotEmpty(), "a verdict either takes or says why not");
        fuzzExpect (mayBeTaken || ! verdict.signature.has_value(), "nothing is taken without the key's signature");

        if (! verdict.signature.has_value())
            return;

        const auto& claims = verdict.signature->getClaims();
        const auto highest = signer.getAccepted().highestSerial (signer.getKey(), claims.name);
        fuzzExpect (claims.name == CatalogueSignature::nameFor (address), "a catalogue taken is the one asked for");
        fuzzExpect (claims.expiresAt > now, "a catalogue taken has not expired");
        fuzzExpect (! highest.has_value() || claims.serial >= *highest, "a catalogue taken is no older than one taken before");
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const juce::MemoryBlock file (data, size);
    recordFile().replaceWithData (data, size);
    const CatalogueSigner signer (fuzzKey().getPublicKey(), recordFile());

    const auto signature = CatalogueSignature::fromFile (file);
    fuzzExpect (! (signature.has_value() && CatalogueSignature::isOldFormat (file)), "a file is of one kind at most");
    checkVerdict (signer, file, false);

    if (! signature.has_value())
        return 0;

    fuzzExpect (signature->toFileText() == file.toString() && file.getSize() == signature->toFileText().getNumBytesAsUTF8(),
                "a signature file reads back byte for byte as written");
    fuzzExpect (CatalogueSignature::isValidName (signature->getClaims().name), "a signed name is a path of visible ASCII");

    // The same claims with the key's own signature reach the checks of the claims.
    checkVerdict (signer, fileOf (fuzzKey().sign (catalogue, signature->getClaims()).toFileText()), true);
    return 0;
}
