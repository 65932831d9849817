#pragma once

#include <juce_core/juce_core.h>

/** The text of a catalogue's bytes, whatever encoding an editor saved it in.

    UTF-16 (little- or big-endian, with or without a byte-order mark) is recognised by
    its mark or by a zero byte beside the first character, as XML's own rules for
    telling encodings apart do; any other text is read as UTF-8 when it is valid UTF-8
    (a mark is dropped), else as Windows-1252. The text ends at the first zero
    character. Characters UTF-16 cannot have encoded (a lone surrogate) become U+FFFD,
    and a last odd byte is dropped. Any thread.
*/
struct CatalogueText
{
    static juce::String decode (const juce::MemoryBlock& bytes);
};
