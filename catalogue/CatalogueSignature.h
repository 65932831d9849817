#pragma once

#include <array>
#include <optional>
#include <juce_core/juce_core.h>

/** The vendor's Ed25519 signature over the exact bytes of a catalogue. On the server
    it sits beside the catalogue, in a file named after it with ".sig" appended, as
    one line of standard base64 (88 characters for the 64 bytes).
*/
class CatalogueSignature
{
public:
    static constexpr size_t size = 64;

    /** No signature file is anywhere near this; a larger answer is not one. */
    static constexpr juce::int64 largestFile = 1024;

    explicit CatalogueSignature (const std::array<unsigned char, size>& signatureBytes) : bytes (signatureBytes) {}

    /** The signature file's text as downloaded; nothing when it is not a signature. */
    static std::optional<CatalogueSignature> fromFile (const juce::MemoryBlock& file);

    /** Where the signature of the catalogue at catalogueAddress lies: ".sig" after its
        path, before any query, so that a cache-busting query reaches the signature too.
    */
    static juce::String addressFor (const juce::String& catalogueAddress);

    /** The file's text, with its closing line break. */
    juce::String toFileText() const;

    const std::array<unsigned char, size>& getBytes() const noexcept { return bytes; }

private:
    std::array<unsigned char, size> bytes;
};
