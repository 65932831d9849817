#pragma once

#include <array>
#include <optional>
#include <juce_core/juce_core.h>

#include "catalogue/CatalogueSignature.h"

/** The vendor's Ed25519 public key, which a catalogue from the server must be signed
    with when the program was built with one. Written as standard base64 of its 32
    bytes (44 characters), in the build setting and in the vendor's tool.
*/
class CataloguePublicKey
{
public:
    static constexpr size_t size = 32;

    explicit CataloguePublicKey (const std::array<unsigned char, size>& keyBytes) : bytes (keyBytes) {}

    /** Nothing when text is not a key's base64. */
    static std::optional<CataloguePublicKey> fromBase64 (const juce::String& text);

    /** The key this program was built with (QUILLON_CATALOGUE_PUBLIC_KEY); nothing when
        it was built without one.
    */
    static std::optional<CataloguePublicKey> builtIn();

    /** Whether signature was made with this key's secret, and its digest is that of
        catalogue's exact bytes; says nothing of its claims.
    */
    bool hasSigned (const juce::MemoryBlock& catalogue, const CatalogueSignature& signature) const;

    juce::String toBase64() const;

private:
    std::array<unsigned char, size> bytes;
};
