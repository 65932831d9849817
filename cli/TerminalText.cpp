#include "cli/TerminalText.h"

namespace
{
    constexpr juce::juce_wchar controlPictures = 0x2400;
    constexpr juce::juce_wchar deletePicture = 0x2421;
    constexpr juce::juce_wchar replacement = 0xfffd;

    bool isSurrogateOrBeyond (juce::juce_wchar c)
    {
        return (c >= 0xd800 && c <= 0xdfff) || c > 0x10ffff;
    }

    juce::juce_wchar standInFor (juce::juce_wchar c)
    {
        if (c < 0x20)
            return controlPictures + c;

        if (c == 0x7f)
            return deletePicture;

        if ((c >= 0x80 && c <= 0x9f) || isSurrogateOrBeyond (c) || TerminalText::isBidiControl (c))
            return replacement;

        return c;
    }

    juce::String replaceControls (const juce::String& text, bool keepLayout)
    {
        juce::String result;
        result.preallocateBytes (text.getNumBytesAsUTF8());

        for (auto c : text)
            result += (keepLayout && (c == '\n' || c == '\t') ? c : standInFor (c));

        return result;
    }
}

juce::String TerminalText::visible (const juce::String& text)
{
    return replaceControls (text, false);
}

juce::String TerminalText::keepingLayout (const juce::String& text)
{
    return replaceControls (text, true);
}

bool TerminalText::isBidiControl (juce::juce_wchar c) noexcept
{
    return c == 0x061c || c == 0x200e || c == 0x200f || (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}
