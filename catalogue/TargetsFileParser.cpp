#include "catalogue/TargetsFileParser.h"

#include <optional>

#include "catalogue/XmlParseException.h"

namespace
{
    void expectTag (const juce::XmlElement& element, const char* expectedName)
    {
        if (element.getTagName() != expectedName)
            throw XmlParseException (juce::String ("Invalid element encountered. Expecting ") + expectedName);
    }

    // Attribute names are matched without regard to letter case; the first match wins.
    std::optional<juce::String> findAttribute (const juce::XmlElement& element, juce::StringRef name)
    {
        for (int i = 0; i < element.getNumAttributes(); ++i)
            if (element.getAttributeName (i).equalsIgnoreCase (name))
                return element.getAttributeValue (i);

        return std::nullopt;
    }

    juce::String readAttribute (const juce::XmlElement& element, juce::StringRef name, const juce::String& fallback = {})
    {
        return findAttribute (element, name).value_or (fallback);
    }

    const juce::XmlElement* findChildIgnoringCase (const juce::XmlElement& element, juce::StringRef name)
    {
        for (auto* child : element.getChildIterator())
            if (child->getTagName().equalsIgnoreCase (name))
                return child;

        return nullptr;
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

    TargetBrand brandCode (const juce::String& name)
    {
        if (name == "Calvio")
            return TargetBrand::Calvio;

        if (name == "Brisma")
            return TargetBrand::Brisma;

        return TargetBrand::Other;
    }

    void readRevisions (const juce::XmlElement& revisionsElement, juce::OwnedArray<TargetRevision>& revisions)
    {
        for (auto* element : revisionsElement.getChildIterator())
        {
            if (element->getTagName() != "Revision")
                throw XmlParseException ("Invalid element encountered. Expecting \"Revision\"");

            auto& revision = *revisions.add (std::make_unique<TargetRevision>());
            revision.version = readAttribute (*element, "Version", "Unspecified");
            revision.releaseDate = readAttribute (*element, "ReleaseDate", "Unspecified");
            revision.imageUrl = readAttribute (*element, "ImageUrl");
            revision.releaseNotesUrl = readAttribute (*element, "ReleaseNotesUrl");
            revision.specialPostInstructions = readAttribute (*element, "SpecialPostInstructions");
        }
    }

    void readPorts (const juce::XmlElement& portsElement, juce::OwnedArray<TargetPort>& ports)
    {
        for (auto* element : portsElement.getChildIterator())
        {
            expectTag (*element, "Port");

            auto& port = *ports.add (std::make_unique<TargetPort>());
            port.name = readAttribute (*element, "Name");

            if (const auto count = findAttribute (*element, "Count"))
                port.count = parseCount (*count);
        }
    }

    std::unique_ptr<TargetProduct> readProduct (const juce::XmlElement& element, std::int32_t familyId, TargetBrand brand)
    {
        auto product = std::make_unique<TargetProduct>();
        product->name = readAttribute (element, "Name", "Unspecified");
        product->productId = parseHex (readAttribute (element, "ProductID", "0x7F"));

        const auto updateProductId = readAttribute (element, "UpdateProductID");
        product->updateProductId = updateProductId.isEmpty() ? product->productId : parseHex (updateProductId);

        product->familyId = familyId;
        product->brand = brand;
        product->specialPreInstructions = readAttribute (element, "SpecialPreInstructions");

        if (auto* revisions = findChildIgnoringCase (element, "Revisions"))
            readRevisions (*revisions, product->revisions);

        if (auto* ports = findChildIgnoringCase (element, "Ports"))
            readPorts (*ports, product->ports);

        return product;
    }

    void readBrand (const juce::XmlElement& brandElement, TargetsInfo& catalogue)
    {
        const auto brand = brandCode (readAttribute (brandElement, "Name"));

        for (auto* family : brandElement.getChildIterator())
        {
            expectTag (*family, "Family");
            const auto familyId = parseHex (readAttribute (*family, "FamilyID", "0x7F")) & 0xFF;

            for (auto* product : family->getChildIterator())
            {
                expectTag (*product, "Product");
                catalogue.products.add (readProduct (*product, familyId, brand));
            }
        }
    }
}

std::unique_ptr<TargetsInfo> parseTargetsFile (juce::XmlDocument& document)
{
    const auto root = document.getDocumentElement();

    if (root == nullptr)
        throw XmlParseException (document.getLastParseError());

    expectTag (*root, "Config");
    auto catalogue = std::make_unique<TargetsInfo>();

    for (auto* brand : root->getChildIterator())
    {
        expectTag (*brand, "Brand");
        readBrand (*brand, *catalogue);
    }

    return catalogue;
}
