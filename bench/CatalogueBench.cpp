#include <benchmark/benchmark.h>

#include "catalogue/TargetsFileParser.h"
#include "catalogue/TargetsFileReader.h"

namespace
{
    // Two brands of ten families each, with the products spread over them.
    juce::String makeCatalogue (int numProducts, int revisionsPerProduct)
    {
        juce::MemoryOutputStream text;
        text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config>\n";
        constexpr int numFamilies = 20;

        for (int family = 0; family < numFamilies; ++family)
        {
            if (family % 10 == 0)
                text << (family == 0 ? "" : "</Brand>\n") << "<Brand Name=\"" << (family == 0 ? "Calvio" : "Brisma") << "\">\n";

            text << " <Family FamilyID=\"0x" << juce::String::toHexString (family + 1) << "\">\n";

            for (int product = family; product < numProducts; product += numFamilies)
            {
                text << "  <Product Name=\"Product " << product << "\" ProductID=\"0x" << juce::String::toHexString (product)
                     << "\" UpdateProductID=\"0x" << juce::String::toHexString (product + 0x40) << "\">\n   <Revisions>\n";

                for (int revision = 0; revision < revisionsPerProduct; ++revision)
                    text << "    <Revision Version=\"1." << revision << "\" ReleaseDate=\"1 Jan 2026\""
                         << " ImageUrl=\"http://updates.tesmar-audio.com/updater/p" << product << "/" << revision << ".bin\""
                         << " ReleaseNotesUrl=\"http://updates.tesmar-audio.com/updater/p" << product << "/" << revision << ".html\"/>\n";

                text << "   </Revisions>\n   <Ports><Port Name=\"Product " << product << "\"/></Ports>\n  </Product>\n";
            }

            text << " </Family>\n";
        }

        text << "</Brand>\n</Config>\n";
        return text.toString();
    }

    // XML parsing and building the catalogue, as the targets-file thread does.
    void parseCatalogueOf1000ProductsWith20RevisionsEach (benchmark::State& state)
    {
        const auto text = makeCatalogue (1000, 20);

        if (const auto catalogue = parseTargetsFile (text);
            catalogue->products.size() != 1000 || catalogue->products.getLast()->revisions.size() != 20)
        {
            state.SkipWithError ("the generated catalogue is not 1000 products of 20 revisions");
            return;
        }

        for ([[maybe_unused]] auto iteration : state)
        {
            const auto catalogue = parseTargetsFile (text);
            benchmark::DoNotOptimize (catalogue->products.size());
        }

        state.SetBytesProcessed (state.iterations() * static_cast<int64_t> (text.getNumBytesAsUTF8()));
    }

    BENCHMARK (parseCatalogueOf1000ProductsWith20RevisionsEach)->Unit (benchmark::kMillisecond);

    // One product whose text is mostly content: body fills the given number of MiB
    // with copies of piece, inside the product's SpecialPreInstructions (attribute)
    // or between its tags (content).
    juce::String makeProductHolding (const juce::String& piece, int mebibytes, bool asAttribute)
    {
        const auto body = juce::String::repeatedString (piece, (mebibytes << 20) / piece.length());
        const auto product = asAttribute ? "<Product SpecialPreInstructions=\"" + body + "\"/>"
                                         : "<Product>" + body + "</Product>";

        return "<Config><Brand Name=\"Calvio\"><Family>" + product + "</Family></Brand></Config>";
    }

    void parse (benchmark::State& state, const juce::String& text)
    {
        if (parseTargetsFile (text) == nullptr)
        {
            state.SkipWithError ("the text is no catalogue");
            return;
        }

        for ([[maybe_unused]] auto iteration : state)
            benchmark::DoNotOptimize (parseTargetsFile (text));

        const auto bytes = static_cast<int64_t> (text.getNumBytesAsUTF8());
        state.SetBytesProcessed (state.iterations() * bytes);
        state.SetComplexityN (bytes);
    }

    // Multi-line instructions are written with character references; each used to
    // cost time in proportion to the text before it.
    void parseCatalogueWithEntitiesInOneAttribute (benchmark::State& state)
    {
        parse (state, makeProductHolding ("&amp;&#10;", (int) state.range (0), true));
    }

    // Elements nested as deep as the reader allows, again and again, under a product
    // (where the catalogue ignores them).
    void parseCatalogueWithDeeplyNestedElements (benchmark::State& state)
    {
        const auto depth = TargetsFileReader::maxDepth - 4;
        const auto nested = juce::String::repeatedString ("<x>", depth) + juce::String::repeatedString ("</x>", depth);
        parse (state, makeProductHolding (nested, (int) state.range (0), false));
    }

    BENCHMARK (parseCatalogueWithEntitiesInOneAttribute)
        ->Unit (benchmark::kMillisecond)
        ->RangeMultiplier (2)
        ->Range (1, 4)
        ->Complexity (benchmark::oN);

    BENCHMARK (parseCatalogueWithDeeplyNestedElements)
        ->Unit (benchmark::kMillisecond)
        ->RangeMultiplier (2)
        ->Range (1, 4)
        ->Complexity (benchmark::oN);
}
