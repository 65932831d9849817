#include "catalogue/ExpectedImage.h"

#include <sodium.h>

#include "catalogue/Sodium.h"

ExpectedImage::ExpectedImage (const TargetRevision& revision)
    : size (revision.imageSize),
      sha256 (revision.imageSha256)
{
}

bool ExpectedImage::isMatchedBy (const juce::MemoryBlock& image) const
{
    if (size.has_value() && static_cast<juce::int64> (image.getSize()) != *size)
        return false;

    return sha256.isEmpty() || sha256Of (image) == sha256;
}

juce::String ExpectedImage::sha256Of (const juce::MemoryBlock& data)
{
    Sodium::prepare();

    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256 (digest, static_cast<const unsigned char*> (data.getData()), data.getSize());
    return juce::String::toHexString (digest, (int) sizeof (digest), 0);
}
