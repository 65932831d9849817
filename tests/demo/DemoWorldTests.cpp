#include "app/QuillonLookAndFeel.h"
#include "catalogue/FileDownloader.h"
#include "catalogue/TargetsFileParser.h"
#include "catalogue/XmlParseException.h"
#include "demo/DemoWorld.h"
#include "demo/ServedCatalogue.h"
#include "device/FirmwareImage.h"
#include "device/MidiDeviceScanner.h"
#include "tests/support/ComponentFinder.h"
#include "tests/support/MessageLoop.h"
#include "wizard/pages/SelectDevicePage.h"

#include <gtest/gtest.h>

namespace
{
    struct DemoWorldTest : public ::testing::Test
    {
        juce::String fetch (const juce::String& url) const
        {
            const auto data = FileDownloader().download (url, nullptr, nullptr, nullptr);
            return data != nullptr ? data->toString() : juce::String();
        }

        std::unique_ptr<TargetsInfo> fetchCatalogue()
        {
            return parseTargetsFile (fetch (world.targetsSources (juce::Time::getCurrentTime())[0]));
        }

        const TargetProduct* productFor (const TargetsInfo& catalogue, const SimulatedDeviceConfig& config) const
        {
            for (auto* product : catalogue.products)
                for (auto* port : product->ports)
                    if (port->name == config.portName && product->brand == config.brand
                        && product->familyId == config.familyId && product->productId == config.productId)
                        return product;

            return nullptr;
        }

        // Every image byte inside one of the regions: the device can take the whole image.
        bool regionsHoldWholeImage (const std::vector<SimulatedRegion>& regions, const juce::File& imageFile) const
        {
            juce::FileInputStream stream (imageFile);
            FirmwareImage image (stream);
            image.parse();

            juce::int64 inside = 0;

            for (const auto& region : regions)
                inside += image.countBytesInRange (region.start, region.start + region.length - 1);

            return inside > 0 && inside == image.countBytesInRange (0, 0xFFFFFFFF);
        }

        std::unique_ptr<juce::OwnedArray<TargetDevice>> scan()
        {
            const auto catalogue = fetchCatalogue();

            if (catalogue == nullptr)
                return {};

            auto environment = world.makeEnvironment ({});
            return MidiDeviceScanner (environment.midiPorts, environment.replyTimeouts).findDevices (catalogue->products);
        }

        const DemoSetup setup = DemoSetup::standard (false);
        DemoWorld world { setup };
    };
}

TEST_F (DemoWorldTest, TheOnlyTargetsSourceIsTheLoopbackCatalogueWithTheCacheBustingTime)
{
    const auto sources = world.targetsSources (juce::Time (2026, 11, 6, 19, 42, 37, 0, true));

    ASSERT_EQ (sources.size(), 1);
    EXPECT_TRUE (sources[0].matchesWildcard ("http://127.0.0.1:*/updater/common/config/UpdateTargets.xml"
                                             "?nocache=6+Dec+2026+7%3a42%3a37+pm",
                                             false))
        << sources[0];
}

TEST_F (DemoWorldTest, ServesTheCatalogueWithEveryAddressMovedToItsOwnServer)
{
    const auto catalogue = fetchCatalogue();
    ASSERT_NE (catalogue, nullptr);

    const auto base = world.targetsSources (juce::Time::getCurrentTime())[0].upToFirstOccurrenceOf ("updater/", false, false);
    int images = 0;

    for (auto* product : catalogue->products)
    {
        for (auto* revision : product->revisions)
        {
            EXPECT_TRUE (revision->imageUrl.startsWith (base)) << revision->imageUrl;
            EXPECT_TRUE (revision->releaseNotesUrl.startsWith (base)) << revision->releaseNotesUrl;
            EXPECT_TRUE (world.fileFor (revision->imageUrl).existsAsFile()) << revision->imageUrl;
            EXPECT_TRUE (fetch (revision->releaseNotesUrl).isNotEmpty()) << revision->releaseNotesUrl;
            ++images;
        }
    }

    EXPECT_GT (images, 0);
}

TEST_F (DemoWorldTest, EveryDeviceIsAProductOfTheCatalogueWhoseImagesAllFitItsMemory)
{
    const auto catalogue = fetchCatalogue();
    ASSERT_NE (catalogue, nullptr);

    for (const auto& config : setup.devices)
    {
        const auto* product = productFor (*catalogue, config);
        ASSERT_NE (product, nullptr) << config.portName;
        ASSERT_FALSE (product->revisions.isEmpty()) << config.portName;

        for (auto* revision : product->revisions)
            EXPECT_TRUE (regionsHoldWholeImage (config.memoryMap.regions, world.fileFor (revision->imageUrl)))
                << revision->imageUrl;
    }
}

TEST_F (DemoWorldTest, AScanFindsOneDeviceWithAnUpdateOneWaitingInUpdateModeAndOneUpToDate)
{
    const auto devices = scan();
    ASSERT_NE (devices, nullptr);
    ASSERT_EQ (devices->size(), 3);

    EXPECT_EQ ((*devices)[0]->getDisplayName(), "Calvio Hall Reverb \"Studio Hall\" (at version 1.1)");
    ASSERT_NE ((*devices)[0]->findNewestUpdate(), nullptr);
    EXPECT_EQ ((*devices)[0]->findNewestUpdate()->version, "1.21");

    EXPECT_EQ ((*devices)[1]->getDisplayName(), "Calvio Plate Reverb \"Vocal Plate\" (waiting for update)");
    EXPECT_TRUE ((*devices)[1]->isWaitingForUpdate());

    EXPECT_EQ ((*devices)[2]->getDisplayName(), "Brisma Chorus \"Pedalboard\" (at version 2.3)");
    EXPECT_EQ ((*devices)[2]->findNewestUpdate(), nullptr);
}

namespace
{
    // The characters that JUCE's label drawing lays out in the label's text area, where
    // an ellipsis takes the place of the end of a text that does not fit.
    juce::String charactersDrawnBy (juce::Label& label)
    {
        auto& lookAndFeel = label.getLookAndFeel();
        const auto font = lookAndFeel.getLabelFont (label);
        const auto area = lookAndFeel.getLabelBorderSize (label).subtractedFrom (label.getLocalBounds()).toFloat();

        juce::GlyphArrangement glyphs;
        glyphs.addFittedText (font, label.getText(), area.getX(), area.getY(), area.getWidth(), area.getHeight(),
                              label.getJustificationType(), juce::jmax (1, (int) (area.getHeight() / font.getHeight())),
                              label.getMinimumHorizontalScale());

        juce::String drawn;

        for (int i = 0; i < glyphs.getNumGlyphs(); ++i)
            drawn += juce::String::charToString (glyphs.getGlyph (i).getCharacter());

        return drawn;
    }
}

TEST_F (DemoWorldTest, EveryDeviceNameIsShownWholeInTheDeviceListAndAsItsTooltip)
{
    const auto devices = scan();
    ASSERT_NE (devices, nullptr);
    ASSERT_FALSE (devices->isEmpty());

    juce::StringArray names;

    for (auto* device : *devices)
        names.add (device->getDisplayName());

    QuillonLookAndFeel lookAndFeel;
    SelectDevicePage page;
    page.setLookAndFeel (&lookAndFeel);
    page.setDeviceNames (names);

    auto& list = ComponentFinder::firstChild<juce::ComboBox> (page);
    auto& shownText = ComponentFinder::firstChild<juce::Label> (list);

    for (int i = 0; i < names.size(); ++i)
    {
        list.setSelectedItemIndex (i);
        MessageLoop::dispatchPending();

        EXPECT_EQ (charactersDrawnBy (shownText), names[i]);
        EXPECT_EQ (list.getTooltip(), names[i]);
    }

    page.setLookAndFeel (nullptr);
}

TEST_F (DemoWorldTest, FindsTheSimulatedDeviceOfAProductAndNoneForAProductNotPluggedIn)
{
    TargetProduct product;
    product.ports.add (std::make_unique<TargetPort> (TargetPort { "Brisma Chorus", 1 }));
    ASSERT_NE (world.findDevice (product), nullptr);
    EXPECT_EQ (world.findDevice (product)->getConfig().portName, "Brisma Chorus");

    product.ports.clear();
    product.ports.add (std::make_unique<TargetPort> (TargetPort { "Calvio Echo One", 1 }));
    EXPECT_EQ (world.findDevice (product), nullptr);
}

TEST_F (DemoWorldTest, AnAddressOfAnotherServerNamesNoServedFile)
{
    EXPECT_FALSE (world.fileFor ("http://" QUILLON_UPDATE_HOST "/updater/calvio/hall-reverb/hall-reverb-1.21.bin").exists());
}

TEST (DemoWorld, AMissingCatalogueIsTheServersNotFoundPageAndACorruptOneCannotBeParsed)
{
    const auto answerFor = [] (DemoSetup::Catalogue catalogue)
    {
        auto setup = DemoSetup::standard (false);
        setup.catalogue = catalogue;
        DemoWorld world (setup);
        const auto answer = FileDownloader().download (world.targetsSources (juce::Time::getCurrentTime())[0],
                                                       nullptr, nullptr, nullptr);
        return answer != nullptr ? answer->toString() : juce::String();
    };

    EXPECT_TRUE (answerFor (DemoSetup::Catalogue::missing).startsWith ("<!DOCTYPE HTML"));

    const auto corrupt = answerFor (DemoSetup::Catalogue::corrupt);
    ASSERT_TRUE (corrupt.startsWith ("<?xml"));
    EXPECT_THROW (parseTargetsFile (corrupt), XmlParseException);
}
