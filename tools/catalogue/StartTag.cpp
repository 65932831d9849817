#include "tools/catalogue/StartTag.h"

namespace
{
    bool isSpace (char c)
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    }
}

void StartTag::set (const juce::String& name, const juce::String& value)
{
    const auto found = attributes();

    for (const auto& attribute : found)
    {
        const auto attributeName = juce::String::fromUTF8 (text.data() + attribute.nameStart,
                                                           (int) (attribute.nameEnd - attribute.nameStart));

        if (attributeName.equalsIgnoreCase (name))
        {
            text.replace (attribute.valueStart, attribute.valueEnd - attribute.valueStart, value.toStdString());
            return;
        }
    }

    const auto insertAt = found.empty() ? nameEnd() : found.back().valueEnd + 1;
    const auto separator = found.empty() ? std::string (" ") : separatorAfter (found.back());
    text.insert (insertAt, separator + name.toStdString() + "=\"" + value.toStdString() + "\"");
}

// The tag is well-formed: a name, then name="value" or name='value' pairs.
std::vector<StartTag::Attribute> StartTag::attributes() const
{
    std::vector<Attribute> found;
    auto position = nameEnd();

    for (;;)
    {
        while (position < text.size() && isSpace (text[position]))
            ++position;

        if (position >= text.size() || text[position] == '/' || text[position] == '>')
            return found;

        Attribute attribute {};
        attribute.nameStart = position;
        attribute.nameEnd = text.find_first_of ("= \t\r\n", position);
        const auto quote = text.find_first_of ("\"'", attribute.nameEnd);

        if (quote == std::string::npos)
            return found;

        attribute.valueStart = quote + 1;
        attribute.valueEnd = text.find (text[quote], attribute.valueStart);

        if (attribute.valueEnd == std::string::npos)
            return found;

        found.push_back (attribute);
        position = attribute.valueEnd + 1;
    }
}

size_t StartTag::nameEnd() const
{
    const auto end = text.find_first_of (" \t\r\n/>", 1);
    return end == std::string::npos ? text.size() : end;
}

// A tag laid out one attribute to a line gets the new one on a line of its own, indented
// as the last, with the same line break.
std::string StartTag::separatorAfter (const Attribute& last) const
{
    const auto lineBreak = text.rfind ('\n', last.nameStart);

    if (lineBreak == std::string::npos)
        return " ";

    auto indentEnd = lineBreak + 1;

    while (indentEnd < last.nameStart && isSpace (text[indentEnd]))
        ++indentEnd;

    const auto newLine = lineBreak > 0 && text[lineBreak - 1] == '\r' ? std::string ("\r\n") : std::string ("\n");
    return newLine + text.substr (lineBreak + 1, indentEnd - lineBreak - 1);
}
