#pragma once

#include <memory>
#include <vector>
#include <juce_core/juce_core.h>

#include "catalogue/TargetsInfo.h"

/** Builds the catalogue from the events of an XML parser reading a targets file,
    keeping only what the catalogue keeps: the elements it reads are turned into
    products, revisions and ports as they open, everything else is passed over.

    The file's structure is Config > Brand > Family > Product, and under a product its
    first Revisions (any letter case) > Revision and its first Ports > Port. The error
    reported is the one a walk of the finished document would meet first: in document
    order, except that a product's Revisions are checked before its Ports. Element
    names are compared exactly, attribute names in any letter case (the first match
    wins); non-blank text or a CDATA section where elements are expected counts as a
    wrong element. A Revision's Size and Sha256 are the only attributes that can be
    wrong: given, they must be a decimal number and 64 hexadecimal digits.

    Depth is the parser's to bound: the builder's stack grows by one entry per open
    element. Runs on the thread that parses; touches nothing shared.
*/
class CatalogueBuilder
{
public:
    CatalogueBuilder();

    /** attributes: name and value pairs, UTF-8, ended by a null pointer. */
    void startElement (const char* name, const char* const* attributes);
    void endElement();

    /** A piece of character data, UTF-8; one text may come in several pieces. */
    void characters (const char* text, int numBytes);
    void startCdataSection();

    /** Call once the whole document was read and found well-formed. Returns the
        catalogue, or throws XmlParseException with the first structure error.
    */
    std::unique_ptr<TargetsInfo> finish();

private:
    enum class Level
    {
        document,
        config,
        brand,
        family,
        product,
        revisions,
        ports,
        ignored
    };

    Level childLevel (Level parent, const char* name, const char* const* attributes);
    Level enterProduct (const char* name);
    void addProduct (const char* const* attributes);
    void addRevision (const char* const* attributes);
    void addPort (const char* const* attributes);
    void wrongChild (Level parent);
    bool expectsElements() const;
    static const char* expectedChild (Level parent);

    std::unique_ptr<TargetsInfo> catalogue;
    std::vector<Level> open;

    TargetBrand brand = TargetBrand::Other;
    std::int32_t familyId = 0;

    // The product being read, owned by the catalogue, and which of its lists were met.
    TargetProduct* product = nullptr;
    bool productHasRevisions = false;
    bool productHasPorts = false;

    // A wrong child of a product's Ports is reported only if its Revisions, which may
    // still follow, hold none: they are checked first.
    juce::String portsError;
    juce::String error;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CatalogueBuilder)
};
