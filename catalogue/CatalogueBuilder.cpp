#include "catalogue/CatalogueBuilder.h"

#include <cstring>
#include <limits>
#include <optional>

#include "catalogue/XmlParseException.h"

namespace
{
    juce::String expecting (const char* name)
    {
        return juce::String ("Invalid element encountered. Expecting ") + name;
    }

    bool isNamed (const char* name, const char* expected)
    {
        return std::strcmp (name, expected) == 0;
    }

    bool isNamedIgnoringCase (const char* name, const char* expected)
    {
        return juce::CharPointer_UTF8 (name).compareIgnoreCase (juce::CharPointer_UTF8 (expected)) == 0;
    }

    // Attribute names are matched without regard to letter case; the first match wins.
    std::optional<juce::String> findAttribute (const char* const* attributes, const char* name)
    {
        for (; *attributes != nullptr; attributes += 2)
            if (isNamedIgnoringCase (attributes[0], name))
                return juce::String::fromUTF8 (attributes[1]);

        return std::nullopt;
    }

    juce::String readAttribute (const char* const* attributes, const char* name, const juce::String& fallback = {})
    {
        return findAttribute (attributes, name).value_or (fallback);
    }

    // Every hex digit counts, whatever surrounds it ("0x7F", "x7F" and "7f" agree);
    // shifting a 32-bit value keeps the last eight digits.
    std::int32_t parseHex (const juce::String& text)
    {
        std::uint32_t value = 0;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            const auto digit = juce::CharacterFunctions::getHexDigitValue (p.getAndAdvance());

            if (digit >= 0)
                value = (value << 4) | static_cast<std::uint32_t> (digit);
        }

        return static_cast<std::int32_t> (value);
    }

    // Leading blanks and a sign, then digits up to the first other character; a
    // value beyond the 32-bit range is held at its limit.
    std::int32_t parseCount (const juce::String& text)
    {
        constexpr std::int64_t limit = std::int64_t { 1 } << 31;
        auto p = text.getCharPointer().findEndOfWhitespace();
        const bool negative = *p == '-';

        if (negative || *p == '+')
            ++p;

        std::int64_t value = 0;

        for (; *p >= '0' && *p <= '9'; ++p)
            value = juce::jmin (limit, value * 10 + static_cast<std::int64_t> (*p - '0'));

        return static_cast<std::int32_t> (negative ? -value : juce::jmin (value, limit - 1));
    }

    juce::String invalidAttribute (const char* name, const char* expected)
    {
        return juce::String ("Invalid attribute encountered. Expecting ") + name + " to be " + expected;
    }

    // Digits only, at least one, and no more than an int64 holds: a size given in any
    // other form cannot be trusted to say what the catalogue's author meant.
    std::optional<juce::int64> parseSize (const juce::String& text)
    {
        if (text.isEmpty())
            return std::nullopt;

        juce::int64 value = 0;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = p.getAndAdvance();

            if (c < '0' || c > '9')
                return std::nullopt;

            const auto digit = static_cast<juce::int64> (c - '0');

            if (value > (std::numeric_limits<juce::int64>::max() - digit) / 10)
                return std::nullopt;

            value = value * 10 + digit;
        }

        return value;
    }

    // 64 hex digits in either case, kept in lower case to compare with a computed
    // digest; empty when the text is anything else.
    juce::String parseSha256 (const juce::String& text)
    {
        if (text.length() != 64 || ! text.containsOnly ("0123456789abcdefABCDEF"))
            return {};

        return text.toLowerCase();
    }

    TargetBrand brandCode (const juce::String& name)
    {
        if (name == "Calvio")
            return TargetBrand::Calvio;

        if (name == "Brisma")
            return TargetBrand::Brisma;

        return TargetBrand::Other;
    }

    // The parser hands over whole characters, so no sequence is cut at either end.
    bool containsNonBlank (const char* text, int numBytes)
    {
        const auto* end = text + numBytes;

        for (juce::CharPointer_UTF8 p (text); p.getAddress() < end;)
            if (! juce::CharacterFunctions::isWhitespace (p.getAndAdvance()))
                return true;

        return false;
    }
}

CatalogueBuilder::CatalogueBuilder()
    : catalogue (std::make_unique<TargetsInfo>())
{
    open.push_back (Level::document);
}

void CatalogueBuilder::startElement (const char* name, const char* const* attributes)
{
    open.push_back (error.isEmpty() ? childLevel (open.back(), name, attributes) : Level::ignored);
}

void CatalogueBuilder::endElement()
{
    const auto closed = open.back();
    open.pop_back();

    if (closed != Level::product)
        return;

    if (error.isEmpty())
        error = portsError;

    portsError.clear();
    product = nullptr;
}

void CatalogueBuilder::characters (const char* text, int numBytes)
{
    if (expectsElements() && containsNonBlank (text, numBytes))
        wrongChild (open.back());
}

void CatalogueBuilder::startCdataSection()
{
    if (expectsElements())
        wrongChild (open.back());
}

std::unique_ptr<TargetsInfo> CatalogueBuilder::finish()
{
    if (error.isNotEmpty())
        throw XmlParseException (error);

    return std::move (catalogue);
}

CatalogueBuilder::Level CatalogueBuilder::childLevel (Level parent, const char* name, const char* const* attributes)
{
    if (parent == Level::ignored || (parent == Level::ports && portsError.isNotEmpty()))
        return Level::ignored;

    if (parent == Level::product)
        return enterProduct (name);

    if (! isNamed (name, expectedChild (parent)))
    {
        wrongChild (parent);
        return Level::ignored;
    }

    switch (parent)
    {
        case Level::document:
            return Level::config;

        case Level::config:
            brand = brandCode (readAttribute (attributes, "Name"));
            return Level::brand;

        case Level::brand:
            familyId = parseHex (readAttribute (attributes, "FamilyID", "0x7F")) & 0xFF;
            return Level::family;

        case Level::family:
            addProduct (attributes);
            return Level::product;

        case Level::revisions:
            addRevision (attributes);
            return Level::ignored;

        case Level::ports:
            addPort (attributes);
            return Level::ignored;

        case Level::product:
        case Level::ignored:
            break;
    }

    return Level::ignored;
}

// Only a product's first Revisions and first Ports are read; its other children are
// passed over, whatever they hold.
CatalogueBuilder::Level CatalogueBuilder::enterProduct (const char* name)
{
    if (! productHasRevisions && isNamedIgnoringCase (name, "Revisions"))
    {
        productHasRevisions = true;
        return Level::revisions;
    }

    if (! productHasPorts && isNamedIgnoringCase (name, "Ports"))
    {
        productHasPorts = true;
        return Level::ports;
    }

    return Level::ignored;
}

void CatalogueBuilder::addProduct (const char* const* attributes)
{
    auto next = std::make_unique<TargetProduct>();
    next->name = readAttribute (attributes, "Name", "Unspecified");
    next->productId = parseHex (readAttribute (attributes, "ProductID", "0x7F"));

    const auto updateProductId = readAttribute (attributes, "UpdateProductID");
    next->updateProductId = updateProductId.isEmpty() ? next->productId : parseHex (updateProductId);

    next->familyId = familyId;
    next->brand = brand;
    next->specialPreInstructions = readAttribute (attributes, "SpecialPreInstructions");

    product = catalogue->products.add (std::move (next));
    productHasRevisions = false;
    productHasPorts = false;
}

void CatalogueBuilder::addRevision (const char* const* attributes)
{
    auto& revision = *product->revisions.add (std::make_unique<TargetRevision>());
    revision.version = readAttribute (attributes, "Version", "Unspecified");
    revision.releaseDate = readAttribute (attributes, "ReleaseDate", "Unspecified");
    revision.imageUrl = readAttribute (attributes, "ImageUrl");
    revision.releaseNotesUrl = readAttribute (attributes, "ReleaseNotesUrl");
    revision.specialPostInstructions = readAttribute (attributes, "SpecialPostInstructions");

    if (const auto size = findAttribute (attributes, "Size"))
    {
        revision.imageSize = parseSize (*size);

        if (! revision.imageSize.has_value())
        {
            error = invalidAttribute ("Size", "a decimal number of bytes");
            return;
        }
    }

    if (const auto sha256 = findAttribute (attributes, "Sha256"))
    {
        revision.imageSha256 = parseSha256 (*sha256);

        if (revision.imageSha256.isEmpty())
            error = invalidAttribute ("Sha256", "64 hexadecimal digits");
    }
}

void CatalogueBuilder::addPort (const char* const* attributes)
{
    auto& port = *product->ports.add (std::make_unique<TargetPort>());
    port.name = readAttribute (attributes, "Name");

    if (const auto count = findAttribute (attributes, "Count"))
        port.count = parseCount (*count);
}

void CatalogueBuilder::wrongChild (Level parent)
{
    if (parent == Level::ports)
    {
        if (portsError.isEmpty())
            portsError = expecting (expectedChild (parent));
    }
    else if (parent == Level::revisions)
    {
        error = "Invalid element encountered. Expecting \"Revision\"";
    }
    else
    {
        error = expecting (expectedChild (parent));
    }
}

// The one element each level that expects elements takes, compared exactly.
const char* CatalogueBuilder::expectedChild (Level parent)
{
    switch (parent)
    {
        case Level::document:  return "Config";
        case Level::config:    return "Brand";
        case Level::brand:     return "Family";
        case Level::family:    return "Product";
        case Level::revisions: return "Revision";
        case Level::ports:     return "Port";
        case Level::product:
        case Level::ignored:   break;
    }

    return "";
}

bool CatalogueBuilder::expectsElements() const
{
    const auto level = open.back();
    return error.isEmpty() && level != Level::document && *expectedChild (level) != 0;
}
