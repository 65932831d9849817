#pragma once

#include <array>
#include <optional>
#include <juce_core/juce_core.h>

#include "catalogue/CataloguePublicKey.h"
#include "catalogue/CatalogueSignature.h"

/** The vendor's Ed25519 secret key, which signs catalogues; only the vendor's tool
    holds one. Written as standard base64 of libsodium's 64-byte secret key (the seed
    followed by the public key).
*/
class CatalogueSigningKey
{
public:
    static constexpr size_t size = 64;

    /** A new key from the system's random source. */
    static CatalogueSigningKey generate();

    /** Nothing when text is not a secret key's base64. */
    static std::optional<CatalogueSigningKey> fromBase64 (const juce::String& text);

    /** The signature file for catalogue's exact bytes, making claims. */
    CatalogueSignature sign (const juce::MemoryBlock& catalogue, const CatalogueSignature::Claims& claims) const;

    CataloguePublicKey getPublicKey() const;

    juce::String toBase64() const;

private:
    explicit CatalogueSigningKey (const std::array<unsigned char, size>& keyBytes) : bytes (keyBytes) {}

    std::array<unsigned char, size> bytes;
};
