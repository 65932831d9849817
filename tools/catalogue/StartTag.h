#pragma once

#include <string>
#include <vector>
#include <juce_core/juce_core.h>

/** The text of one well-formed XML start tag, whose attributes can be set while the
    rest of it, layout included, stays as written.
*/
class StartTag
{
public:
    explicit StartTag (std::string tagText) : text (std::move (tagText)) {}

    /** Replaces the value of the first attribute called name in any letter case, or
        adds the attribute after the last one, on a line of its own when the last one
        has a line of its own. value is written as it is: it must need no escaping.
    */
    void set (const juce::String& name, const juce::String& value);

    const std::string& getText() const noexcept { return text; }

private:
    struct Attribute
    {
        size_t nameStart, nameEnd, valueStart, valueEnd;
    };

    std::vector<Attribute> attributes() const;
    std::string separatorAfter (const Attribute& last) const;
    size_t nameEnd() const;

    std::string text;
};
