#pragma once

#include <string>
#include <vector>
#include <juce_core/juce_core.h>

/** Where a catalogue's Revision elements start in its text, so that their attributes
    can be changed without rewriting the rest of the file. Which revisions the program
    reads is the program's parser's to say; this only finds the tags.
*/
struct RevisionTags
{
    struct Tag
    {
        size_t start = 0;      // byte offset of its '<' in the UTF-8 text
        size_t length = 0;     // bytes up to and including its '>'
        juce::String imageUrl; // its ImageUrl attribute, decoded (in any letter case, the first)
    };

    /** Every start tag named exactly "Revision", in document order. Throws ToolError
        when utf8 is not well-formed XML.
    */
    static std::vector<Tag> find (const std::string& utf8);
};
