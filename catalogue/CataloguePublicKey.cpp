#include "catalogue/CataloguePublicKey.h"

#include <sodium.h>

#include "catalogue/ExpectedImage.h"
#include "catalogue/Sodium.h"

static_assert (CataloguePublicKey::size == crypto_sign_PUBLICKEYBYTES);
static_assert (CatalogueSignature::size == crypto_sign_BYTES);

std::optional<CataloguePublicKey> CataloguePublicKey::fromBase64 (const juce::String& text)
{
    std::array<unsigned char, size> keyBytes;

    if (! Sodium::decodeBase64 (text, keyBytes.data(), keyBytes.size()))
        return {};

    return CataloguePublicKey (keyBytes);
}

std::optional<CataloguePublicKey> CataloguePublicKey::builtIn()
{
    // The build checks the setting's form, so a key given there is never lost here.
    return fromBase64 (QUILLON_CATALOGUE_PUBLIC_KEY);
}

bool CataloguePublicKey::hasSigned (const juce::MemoryBlock& catalogue, const CatalogueSignature& signature) const
{
    Sodium::prepare();
    const auto signedText = CatalogueSignature::signedText (signature.getClaims(), signature.getSha256()).toStdString();

    return crypto_sign_verify_detached (signature.getBytes().data(),
                                        reinterpret_cast<const unsigned char*> (signedText.data()),
                                        signedText.size(),
                                        bytes.data()) == 0
        && ExpectedImage::sha256Of (catalogue) == signature.getSha256();
}

juce::String CataloguePublicKey::toBase64() const
{
    return Sodium::encodeBase64 (bytes.data(), bytes.size());
}
