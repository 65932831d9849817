#include "catalogue/TargetsFileReader.h"

#include <cstdlib>
#include <expat.h>
#include <limits>

#include "catalogue/XmlParseException.h"

namespace
{
    // In front of every block of the parser, keeping the block itself aligned.
    struct alignas (std::max_align_t) BlockHeader
    {
        void* account;
        size_t size;
    };
}

thread_local TargetsFileReader::ParserMemory* TargetsFileReader::chargedMemory = nullptr;

TargetsFileReader::TargetsFileReader (size_t parserMemoryLimit)
    : memory { 0, parserMemoryLimit },
      parser (charging ([]
              {
                  const XML_Memory_Handling_Suite suite { allocate, reallocate, release };

                  // The text has already been decoded (and re-encoded) as UTF-8, whatever
                  // its XML declaration says.
                  return XML_ParserCreate_MM ("UTF-8", &suite, nullptr);
              }))
{
    if (parser == nullptr)
        throw std::bad_alloc();

    XML_SetUserData (parser.get(), this);
    XML_SetElementHandler (parser.get(), startElement, endElement);
    XML_SetCharacterDataHandler (parser.get(), characters);
    XML_SetStartCdataSectionHandler (parser.get(), startCdataSection);
    XML_SetStartDoctypeDeclHandler (parser.get(), startDoctype);
}

TargetsFileReader::~TargetsFileReader() = default;

void TargetsFileReader::ParserDeleter::operator() (XML_ParserStruct* parserToFree) const noexcept
{
    XML_ParserFree (parserToFree);
}

std::unique_ptr<TargetsInfo> TargetsFileReader::read (const juce::String& text, const std::function<bool()>& shouldStop)
{
    if (! text.containsNonWhitespaceChars())
        throw XmlParseException ("The file is empty");

    const auto* data = text.toRawUTF8();
    const auto size = text.getNumBytesAsUTF8();

    for (size_t fed = 0; fed < size;)
    {
        if (shouldStop != nullptr && shouldStop())
            return {};

        const auto length = juce::jmin (nextChunkSize (fed), size - fed);
        const bool isFinal = fed + length == size;

        if (charging ([&] { return XML_Parse (parser.get(), data + fed, (int) length, isFinal); }) != XML_STATUS_OK)
            throw XmlParseException (describeError());

        fed += length;
    }

    return builder.finish();
}

template <typename ParserCall>
auto TargetsFileReader::charging (ParserCall&& call) -> decltype (call())
{
    chargedMemory = &memory;
    const juce::ScopeGuard stopCharging { [] { chargedMemory = nullptr; } };
    return call();
}

// Expat scans a token that the end of a chunk cut short again from its start with the
// next chunk; a chunk at least as long as the part it already holds keeps the whole
// parse linear, however long the token.
size_t TargetsFileReader::nextChunkSize (size_t bytesFed) const
{
    const auto parsed = XML_GetCurrentByteIndex (parser.get());
    const auto held = parsed < 0 ? size_t { 0 } : bytesFed - static_cast<size_t> (parsed);

    return juce::jlimit (chunkSize, static_cast<size_t> (std::numeric_limits<int>::max()), held);
}

// Called from a handler, where the parser's position is the start of what it reports.
void TargetsFileReader::refuse (const juce::String& reason)
{
    refusal = reason + describePosition();
    XML_StopParser (parser.get(), XML_FALSE);
}

juce::String TargetsFileReader::describeError() const
{
    const auto code = XML_GetErrorCode (parser.get());

    if (code == XML_ERROR_ABORTED)
        return refusal;

    const juce::String what (code == XML_ERROR_NO_MEMORY ? "the file is too large or too complex to be read"
                                                         : XML_ErrorString (code));

    return what.substring (0, 1).toUpperCase() + what.substring (1) + describePosition();
}

juce::String TargetsFileReader::describePosition() const
{
    return " at line " + juce::String (static_cast<juce::uint64> (XML_GetCurrentLineNumber (parser.get())))
         + ", column " + juce::String (static_cast<juce::uint64> (XML_GetCurrentColumnNumber (parser.get()) + 1));
}

void TargetsFileReader::startElement (void* context, const char* name, const char** attributes)
{
    auto& reader = *static_cast<TargetsFileReader*> (context);

    // Expat may still report an event or two after it has been stopped.
    if (reader.refusal.isNotEmpty())
        return;

    if (++reader.depth > maxDepth)
        return reader.refuse ("Elements are nested too deeply (more than " + juce::String (maxDepth) + " levels)");

    reader.builder.startElement (name, attributes);
}

void TargetsFileReader::endElement (void* context, const char*)
{
    auto& reader = *static_cast<TargetsFileReader*> (context);

    if (reader.refusal.isNotEmpty())
        return;

    --reader.depth;
    reader.builder.endElement();
}

void TargetsFileReader::characters (void* context, const char* text, int numBytes)
{
    auto& reader = *static_cast<TargetsFileReader*> (context);

    if (reader.refusal.isEmpty())
        reader.builder.characters (text, numBytes);
}

void TargetsFileReader::startCdataSection (void* context)
{
    auto& reader = *static_cast<TargetsFileReader*> (context);

    if (reader.refusal.isEmpty())
        reader.builder.startCdataSection();
}

void TargetsFileReader::startDoctype (void* context, const char*, const char*, const char*, int)
{
    static_cast<TargetsFileReader*> (context)->refuse ("Document type declarations are not allowed");
}

void* TargetsFileReader::allocate (size_t size)
{
    auto& account = *chargedMemory;

    if (size > account.limit - account.held)
        return nullptr;

    auto* header = static_cast<BlockHeader*> (std::malloc (sizeof (BlockHeader) + size));

    if (header == nullptr)
        return nullptr;

    *header = { &account, size };
    account.held += size;
    return header + 1;
}

void* TargetsFileReader::reallocate (void* block, size_t size)
{
    if (block == nullptr)
        return allocate (size);

    auto* header = static_cast<BlockHeader*> (block) - 1;
    auto& account = *static_cast<ParserMemory*> (header->account);
    const auto oldSize = header->size;

    if (size > oldSize && size - oldSize > account.limit - account.held)
        return nullptr;

    auto* moved = static_cast<BlockHeader*> (std::realloc (header, sizeof (BlockHeader) + size));

    if (moved == nullptr)
        return nullptr;

    moved->size = size;
    account.held = account.held - oldSize + size;
    return moved + 1;
}

void TargetsFileReader::release (void* block)
{
    if (block == nullptr)
        return;

    auto* header = static_cast<BlockHeader*> (block) - 1;
    static_cast<ParserMemory*> (header->account)->held -= header->size;
    std::free (header);
}
