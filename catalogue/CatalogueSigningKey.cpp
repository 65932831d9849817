#include "catalogue/CatalogueSigningKey.h"

#include <sodium.h>

#include "catalogue/ExpectedImage.h"
#include "catalogue/Sodium.h"

static_assert (CatalogueSigningKey::size == crypto_sign_SECRETKEYBYTES);

CatalogueSigningKey CatalogueSigningKey::generate()
{
    Sodium::prepare();
    std::array<unsigned char, CataloguePublicKey::size> publicBytes;
    std::array<unsigned char, size> secretBytes;
    crypto_sign_keypair (publicBytes.data(), secretBytes.data());
    return CatalogueSigningKey (secretBytes);
}

std::optional<CatalogueSigningKey> CatalogueSigningKey::fromBase64 (const juce::String& text)
{
    std::array<unsigned char, size> keyBytes;

    if (! Sodium::decodeBase64 (text, keyBytes.data(), keyBytes.size()))
        return {};

    return CatalogueSigningKey (keyBytes);
}

CatalogueSignature CatalogueSigningKey::sign (const juce::MemoryBlock& catalogue, const CatalogueSignature::Claims& claims) const
{
    Sodium::prepare();
    const auto sha256 = ExpectedImage::sha256Of (catalogue);
    const auto signedText = CatalogueSignature::signedText (claims, sha256).toStdString();
    std::array<unsigned char, CatalogueSignature::size> signature;
    crypto_sign_detached (signature.data(), nullptr,
                          reinterpret_cast<const unsigned char*> (signedText.data()), signedText.size(),
                          bytes.data());
    return CatalogueSignature (claims, sha256, signature);
}

CataloguePublicKey CatalogueSigningKey::getPublicKey() const
{
    std::array<unsigned char, CataloguePublicKey::size> publicBytes;
    crypto_sign_ed25519_sk_to_pk (publicBytes.data(), bytes.data());
    return CataloguePublicKey (publicBytes);
}

juce::String CatalogueSigningKey::toBase64() const
{
    return Sodium::encodeBase64 (bytes.data(), bytes.size());
}
