#include <benchmark/benchmark.h>

#include "catalogue/TargetsFileParser.h"

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
        juce::XmlDocument check (text);

        if (const auto catalogue = parseTargetsFile (check);
            catalogue->products.size() != 1000 || catalogue->products.getLast()->revisions.size() != 20)
        {
            state.SkipWithError ("the generated catalogue is not 1000 products of 20 revisions");
            return;
        }

        for ([[maybe_unused]] auto iteration : state)
        {
            juce::XmlDocument document (text);
            const auto catalogue = parseTargetsFile (document);
            benchmark::DoNotOptimize (catalogue->products.size());
        }

        state.SetBytesProcessed (state.iterations() * static_cast<int64_t> (text.getNumBytesAsUTF8()));
    }

    BENCHMARK (parseCatalogueOf1000ProductsWith20RevisionsEach)->Unit (benchmark::kMillisecond);
}
