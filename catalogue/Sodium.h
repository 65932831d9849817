#pragma once

#include <cstddef>
#include <juce_core/juce_core.h>

/** libsodium, made ready before its first call, and its strict base64. */
struct Sodium
{
    /** Any thread; cheap after the first call. libsodium asks to be set up once
        before use; a local static makes that once even when two workers call at the
        same moment. What this program uses of it (hashing and signatures) needs
        nothing that the set-up could fail to provide.
    */
    static void prepare();

    /** Decodes standard, padded base64 into exactly size bytes, skipping white space.
        False, with out unspecified, for any other text or length.
    */
    static bool decodeBase64 (const juce::String& text, unsigned char* out, size_t size);

    static juce::String encodeBase64 (const unsigned char* data, size_t size);
};
