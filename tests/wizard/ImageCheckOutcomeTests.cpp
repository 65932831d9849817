#include <gtest/gtest.h>

#include "catalogue/ExpectedImage.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

// An image that the catalogue describes by size and digest is programmed only when the
// server hands over exactly that image: the substituted-image row of docs/reliability.md.
namespace
{
    constexpr auto damagedImage = "The downloaded image is damaged or is not the one the catalogue names";

    using Attributes = juce::String (*) (const juce::MemoryBlock& genuine);

    juce::String sizeOf (const juce::MemoryBlock& image)
    {
        return " Size=\"" + juce::String (static_cast<juce::int64> (image.getSize())) + "\"";
    }

    juce::String oneByteMoreThan (const juce::MemoryBlock& image)
    {
        return " Size=\"" + juce::String (static_cast<juce::int64> (image.getSize()) + 1) + "\"";
    }

    juce::String digestOf (const juce::MemoryBlock& image)
    {
        return " Sha256=\"" + ExpectedImage::sha256Of (image) + "\"";
    }

    juce::String upperCaseDigestOf (const juce::MemoryBlock& image)
    {
        return " Sha256=\"" + ExpectedImage::sha256Of (image).toUpperCase() + "\"";
    }

    // Still a well-formed image, so only the digest can tell it from the genuine one.
    juce::MemoryBlock withLastByteChanged (juce::MemoryBlock image)
    {
        image[image.getSize() - 1] = static_cast<char> (image[image.getSize() - 1] ^ 0x01);
        return image;
    }

    juce::String reverbProductWith (const juce::String& revisions)
    {
        return "<Config><Brand Name=\"Calvio\"><Family FamilyID=\"0x05\"><Product Name=\"Test Reverb\" ProductID=\"0x02\"><Revisions>"
             + revisions + "</Revisions><Ports><Port Name=\"Test Reverb\"/></Ports></Product></Family></Brand></Config>";
    }

    struct ImageCheckCase
    {
        const char* name;
        Attributes attributes;   // what the catalogue says about the genuine image
        bool servesChangedImage;
        bool succeeds;
    };

    void PrintTo (const ImageCheckCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<ImageCheckCase>& info)
    {
        return info.param.name;
    }

    class ImageCheckOutcome : public ::testing::TestWithParam<ImageCheckCase>
    {
    protected:
        // The reverb device at 1.0 and one revision, 1.5, whose entry in the catalogue
        // carries the case's attributes.
        SimulatedDevice& setUpScene()
        {
            const auto genuine = WizardWorld::makeImage();
            auto& device = world.addDevice (WizardWorld::reverbDevice());
            const auto url = world.serve ("/images/reverb-1.5.bin",
                                          LoopbackServer::Answer::withData (GetParam().servesChangedImage ? withLastByteChanged (genuine)
                                                                                                          : genuine));
            world.serveCatalogue (reverbProductWith ("<Revision Version=\"1.5\" ImageUrl=\"" + url + "\""
                                                     + GetParam().attributes (genuine) + "/>"));
            return device;
        }

        WizardWorld world;
        WizardDriver driver { world.makeWizard() };
    };
}

TEST_P (ImageCheckOutcome, ProgramsOnlyTheImageTheCatalogueNames)
{
    auto& device = setUpScene();
    ASSERT_TRUE (driver.walkToConfirmPage());
    const auto sentByTheScan = device.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost);

    ASSERT_TRUE (driver.confirmAndUpdate());

    if (GetParam().succeeds)
    {
        EXPECT_EQ (driver.caption(), UserTexts::updateSucceeded);
        return;
    }

    EXPECT_EQ (driver.caption(), UserTexts::updateFailed);
    EXPECT_EQ (driver.description(), UserTexts::updateFailedDescription);
    EXPECT_EQ (driver.pageText(), damagedImage);
    EXPECT_TRUE (driver.isVisible (UserTexts::startOver));
    EXPECT_EQ (device.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost), sentByTheScan);
    EXPECT_EQ (device.readFlash (0, 16), std::vector<juce::uint8> (16, 0xff));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Cases, ImageCheckOutcome, ::testing::Values (
    ImageCheckCase { "SizeAndDigestMatch",   [] (const juce::MemoryBlock& g) { return sizeOf (g) + digestOf (g); },     false, true },
    ImageCheckCase { "DigestInUpperCase",    [] (const juce::MemoryBlock& g) { return upperCaseDigestOf (g); },         false, true },
    ImageCheckCase { "NeitherGiven",         [] (const juce::MemoryBlock&)   { return juce::String(); },                true,  true },
    ImageCheckCase { "WrongSize",            [] (const juce::MemoryBlock& g) { return oneByteMoreThan (g); },           false, false },
    ImageCheckCase { "OneByteChanged",       [] (const juce::MemoryBlock& g) { return sizeOf (g) + digestOf (g); },     true,  false },
    ImageCheckCase { "OneByteChangedNoSize", [] (const juce::MemoryBlock& g) { return digestOf (g); },                  true,  false }), nameOf);
// clang-format on
