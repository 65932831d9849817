#include "catalogue/TargetsFileParser.h"
#include "catalogue/TargetsInfoDownloadThread.h"
#include "catalogue/XmlParseException.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"

// Input: the bytes of a targets file. They are read from a local file by the
// targets-file thread's own fetch, which makes the text the parser gets.
namespace
{
    std::optional<juce::String> fetch (const std::uint8_t* data, std::size_t size)
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
    const auto text = fetch (data, size);

    if (! text.has_value())
        return 0;

    try
    {
        const auto catalogue = parseTargetsFile (*text);
        fuzzExpect (catalogue != nullptr, "a parse that is never stopped returns a catalogue");
        checkCatalogue (*catalogue);
    }
    catch (const XmlParseException& e)
    {
        // What the targets-file thread catches; its text is all the results page says.
        fuzzExpect (*e.what() != 0, "an invalid targets file is described");
    }

    return 0;
}
