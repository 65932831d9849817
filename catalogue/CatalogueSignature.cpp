#include "catalogue/CatalogueSignature.h"

#include "catalogue/Sodium.h"

std::optional<CatalogueSignature> CatalogueSignature::fromFile (const juce::MemoryBlock& file)
{
    if ((juce::int64) file.getSize() > largestFile)
        return {};

    std::array<unsigned char, size> signatureBytes;

    if (! Sodium::decodeBase64 (file.toString(), signatureBytes.data(), signatureBytes.size()))
        return {};

    return CatalogueSignature (signatureBytes);
}

juce::String CatalogueSignature::addressFor (const juce::String& catalogueAddress)
{
    const auto queryStart = catalogueAddress.indexOfChar ('?');

    if (queryStart < 0)
        return catalogueAddress + ".sig";

    return catalogueAddress.substring (0, queryStart) + ".sig" + catalogueAddress.substring (queryStart);
}

juce::String CatalogueSignature::toFileText() const
{
    return Sodium::encodeBase64 (bytes.data(), bytes.size()) + "\n";
}
