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

    // What the catalogue says of the genuine image.
    enum class Given
    {
        nothing,
        genuine,
        genuineInUpperCase,
        oneByteMore
    };

    struct ImageCheckCase
    {
        const char* name;
        Given size;
        Given digest;
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

    juce::String sizeAttribute (Given given, const juce::MemoryBlock& image)
    {
        const auto size = static_cast<juce::int64> (image.getSize());
        return given == Given::nothing ? juce::String() : juce::String (given == Given::oneByteMore ? size + 1 : size);
    }

    juce::String digestAttribute (Given given, const juce::MemoryBlock& image)
    {
        const auto digest = ExpectedImage::sha256Of (image);
        return given == Given::nothing ? juce::String() : given == Given::genuineInUpperCase ? digest.toUpperCase() : digest;
    }

    // Still a well-formed image, so only the digest can tell it from the genuine one.
    juce::MemoryBlock withLastByteChanged (juce::MemoryBlock image)
    {
        image[image.getSize() - 1] = static_cast<char> (image[image.getSize() - 1] ^ 0x01);
        return image;
    }

    class ImageCheckOutcome : public ::testing::TestWithParam<ImageCheckCase>
    {
    protected:
        // The reverb device at 1.0 and one revision, 1.5, whose entry in the catalogue
        // carries the case's attributes.
        SimulatedDevice& setUpScene()
        {
            const auto& testCase = GetParam();
            const auto genuine = WizardWorld::makeImage();
            auto& device = world.addDevice (WizardWorld::reverbDevice());
            const auto url = world.serve ("/images/reverb-1.5.bin",
                                          LoopbackServer::Answer::withData (testCase.servesChangedImage ? withLastByteChanged (genuine)
                                                                                                        : genuine));
            world.serveCatalogue (CatalogueXml().addProduct (device.getConfig(), "Test Reverb",
                                                             { { "1.5", url, {},
                                                                 sizeAttribute (testCase.size, genuine),
                                                                 digestAttribute (testCase.digest, genuine) } })
                                      .toString());
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
    ImageCheckCase { "SizeAndDigestMatch",   Given::genuine,     Given::genuine,            false, true },
    ImageCheckCase { "DigestInUpperCase",    Given::nothing,     Given::genuineInUpperCase, false, true },
    ImageCheckCase { "NeitherGiven",         Given::nothing,     Given::nothing,            true,  true },
    ImageCheckCase { "WrongSize",            Given::oneByteMore, Given::nothing,            false, false },
    ImageCheckCase { "OneByteChanged",       Given::genuine,     Given::genuine,            true,  false },
    ImageCheckCase { "OneByteChangedNoSize", Given::nothing,     Given::genuine,            true,  false }), nameOf);
// clang-format on
