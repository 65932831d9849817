#include "catalogue/TargetsFileParser.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "catalogue/XmlParseException.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"

// Input: the bytes of a targets file. They are read from a local file by the
// targets-file thread's own fetch, which makes the text the parser gets.
namespace
{
    std::unique_ptr<juce::XmlDocument> fetch (const std::uint8_t* data, std::size_t size)
    {
        static const juce::TemporaryFile file (".xml");
        file.getFile().replaceWithData (data, size);

        const auto path = file.getFile().getFullPathName();
        return TargetsInfoDownloadThread ({ path }, nullptr, nullptr).fetchTargetsFile (path);
    }

    void checkCatalogue (const TargetsInfo& catalogue)
    {
        for (const auto* product : catalogue.products)
        {
            fuzzExpect (juce::isPositiveAndBelow (product->familyId, 256), "a family ID is one byte");

            const TargetProduct copy (*product);
            fuzzExpect (copy.revisions.size() == product->revisions.size() && copy.ports.size() == product->ports.size(),
                        "a product's copy has all its revisions and ports");
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const auto document = fetch (data, size);

    if (document == nullptr)
        return 0;

    try
    {
        checkCatalogue (*parseTargetsFile (*document));
    }
    catch (const XmlParseException&)
    {
        // What the targets-file thread catches. Its text may be empty (JUCE gives none for
        // a text that does not start with a tag); the results page says the file is invalid.
    }

    return 0;
}
