#pragma once

#include <functional>
#include <memory>
#include <juce_core/juce_core.h>

#include "catalogue/CatalogueBuilder.h"

struct XML_ParserStruct;

/** Reads the text of a targets file with expat into a CatalogueBuilder, bounding what
    a hostile text can cost:
    - time: linear in the text, which is fed in chunks with the caller's stop test
      asked before each;
    - depth: more than maxDepth open elements end the parse;
    - memory: the parser's own allocations are held to parserMemoryLimit, whatever
      the text (expat keeps every distinct element and attribute name it meets);
    - a document type declaration is refused: a targets file has none, and refusing
      it leaves no entities to expand.
    The XML declaration, comments and processing instructions are passed over.

    One reader reads one text, and is not shared between threads.
*/
class TargetsFileReader
{
public:
    explicit TargetsFileReader (size_t parserMemoryLimit = defaultParserMemoryLimit);
    ~TargetsFileReader();

    /** Returns the catalogue, or nullptr when shouldStop answered true (the rest of the
        text is then left unread). Throws XmlParseException with the user's text when
        the text is not a targets file: a syntax error or a limit anywhere wins over a
        structure error.
    */
    std::unique_ptr<TargetsInfo> read (const juce::String& text, const std::function<bool()>& shouldStop);

    static constexpr int maxDepth = 256;
    static constexpr size_t chunkSize = 64 * 1024;
    static constexpr size_t defaultParserMemoryLimit = 64 * 1024 * 1024;

private:
    struct ParserDeleter
    {
        void operator() (XML_ParserStruct*) const noexcept;
    };

    // What the parser holds. Each of its blocks carries its size and its account in
    // front of it, so that any block can be refunded; expat's allocation functions take
    // no context, so a new block is charged to the account that this thread's reader
    // named while it calls the parser.
    struct ParserMemory
    {
        size_t held = 0;
        size_t limit = 0;
    };

    static thread_local ParserMemory* chargedMemory;
    static void* allocate (size_t size);
    static void* reallocate (void* block, size_t size);
    static void release (void* block);

    static void startElement (void* reader, const char* name, const char** attributes);
    static void endElement (void* reader, const char* name);
    static void characters (void* reader, const char* text, int numBytes);
    static void startCdataSection (void* reader);
    static void startDoctype (void* reader, const char* name, const char* systemId, const char* publicId, int hasInternalSubset);

    template <typename ParserCall>
    auto charging (ParserCall&& call) -> decltype (call());

    size_t nextChunkSize (size_t bytesFed) const;
    void refuse (const juce::String& reason);
    juce::String describeError() const;
    juce::String describePosition() const;

    ParserMemory memory;
    const std::unique_ptr<XML_ParserStruct, ParserDeleter> parser;
    CatalogueBuilder builder;
    int depth = 0;

    // Why a handler stopped the parser, and where; expat then reports only that it was
    // aborted.
    juce::String refusal;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TargetsFileReader)
};
