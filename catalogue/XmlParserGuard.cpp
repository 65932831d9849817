#include "catalogue/XmlParserGuard.h"

#include <string>
#include <string_view>

juce::String XmlParserGuard::safeText (const juce::String& text)
{
    constexpr std::string_view instructionStart ("<?"), instructionEnd ("?>");
    constexpr std::string_view declaration ("<!DOCTYPE"), harmlessDeclaration ("<!doctype");

    const std::string_view source (text.toRawUTF8(), text.getNumBytesAsUTF8());
    std::string safe;
    safe.reserve (source.size() + 1);

    // Once no instruction end follows, no later instruction can be complete; remembering
    // that keeps the work linear.
    bool instructionsMayEnd = true;

    for (size_t i = 0; i < source.size();)
    {
        const auto rest = source.substr (i);

        if (instructionsMayEnd && rest.substr (0, instructionStart.size()) == instructionStart)
        {
            const auto end = rest.find (instructionEnd, instructionStart.size());
            instructionsMayEnd = end != std::string_view::npos;

            // A blank rather than nothing, so that the bytes on either side cannot join
            // into a new instruction.
            if (instructionsMayEnd)
            {
                safe += ' ';
                i += end + instructionEnd.size();
                continue;
            }
        }

        if (rest.substr (0, declaration.size()) == declaration)
        {
            safe += harmlessDeclaration;
            i += declaration.size();
            continue;
        }

        safe += source[i++];
    }

    safe += '\n';
    return juce::String::fromUTF8 (safe.data(), (int) safe.size());
}
