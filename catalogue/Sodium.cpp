#include "catalogue/Sodium.h"

#include <sodium.h>

void Sodium::prepare()
{
    [[maybe_unused]] static const int initialised = sodium_init();
}

bool Sodium::decodeBase64 (const juce::String& text, unsigned char* out, size_t size)
{
    const auto utf8 = text.toStdString();
    size_t decodedSize = 0;

    // With no end pointer asked for, libsodium fails unless the whole text decodes.
    return sodium_base642bin (out, size, utf8.data(), utf8.size(), " \t\r\n", &decodedSize,
                              nullptr, sodium_base64_VARIANT_ORIGINAL) == 0
        && decodedSize == size;
}

juce::String Sodium::encodeBase64 (const unsigned char* data, size_t size)
{
    juce::HeapBlock<char> text (sodium_base64_ENCODED_LEN (size, sodium_base64_VARIANT_ORIGINAL));
    sodium_bin2base64 (text.get(), sodium_base64_ENCODED_LEN (size, sodium_base64_VARIANT_ORIGINAL),
                       data, size, sodium_base64_VARIANT_ORIGINAL);
    return juce::String (text.get());
}
