#include "tools/catalogue/RevisionTags.h"

#include <cstring>
#include <expat.h>
#include <memory>

#include "tools/catalogue/ToolError.h"

namespace
{
    struct ParserDeleter
    {
        void operator() (XML_ParserStruct* parser) const noexcept { XML_ParserFree (parser); }
    };

    struct Search
    {
        XML_Parser parser;
        std::vector<RevisionTags::Tag> tags;
    };

    juce::String imageUrlOf (const char** attributes)
    {
        for (auto** attribute = attributes; *attribute != nullptr; attribute += 2)
            if (juce::CharPointer_UTF8 (attribute[0]).compareIgnoreCase (juce::CharPointer_UTF8 ("ImageUrl")) == 0)
                return juce::String::fromUTF8 (attribute[1]);

        return {};
    }

    void startElement (void* context, const char* name, const char** attributes)
    {
        auto& search = *static_cast<Search*> (context);

        if (std::strcmp (name, "Revision") == 0)
            search.tags.push_back ({ static_cast<size_t> (XML_GetCurrentByteIndex (search.parser)),
                                     static_cast<size_t> (XML_GetCurrentByteCount (search.parser)),
                                     imageUrlOf (attributes) });
    }
}

std::vector<RevisionTags::Tag> RevisionTags::find (const std::string& utf8)
{
    // The text was decoded and re-encoded as UTF-8 already, as the program reads it.
    const std::unique_ptr<XML_ParserStruct, ParserDeleter> parser (XML_ParserCreate ("UTF-8"));

    if (parser == nullptr)
        throw std::bad_alloc();

    Search search { parser.get(), {} };
    XML_SetUserData (parser.get(), &search);
    XML_SetStartElementHandler (parser.get(), startElement);

    if (XML_Parse (parser.get(), utf8.data(), (int) utf8.size(), XML_TRUE) != XML_STATUS_OK)
        throw ToolError (juce::String ("The catalogue is not well-formed XML: ") + XML_ErrorString (XML_GetErrorCode (parser.get())));

    return search.tags;
}
