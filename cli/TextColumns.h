#pragma once

#include <juce_core/juce_core.h>

/** How many columns of a terminal a text takes, as terminals draw it: a wide character
    (CJK, fullwidth forms, most emoji) takes two, a combining mark or an invisible format
    character none, everything else one. A text whose columns are counted here has had
    its control characters made visible (TerminalText) first. Any thread.
*/
struct TextColumns
{
    static int of (juce::juce_wchar c) noexcept;
    static int of (const juce::String& text) noexcept;

    /** The longest start of text that takes at most columns columns; a wide character
        that would straddle the limit is left out whole.
    */
    static juce::String cut (const juce::String& text, int columns);
};
