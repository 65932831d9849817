#include "device/DeviceCommand.h"
#include "tests/device/ProgrammingTest.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/support/UserTexts.h"

using devicetest::Bytes;

class DeviceProgramming : public ProgrammingTest
{
protected:
    /** The addresses of the blocks of size 256 from first up to before end. */
    static std::vector<juce::uint32> blocks (juce::uint32 first, juce::uint32 end)
    {
        std::vector<juce::uint32> addresses;

        for (auto address = first; address < end; address += 0x100)
            addresses.push_back (address);

        return addresses;
    }

    static void erase (Bytes& data, size_t from, size_t count)
    {
        std::fill (data.begin() + (std::ptrdiff_t) from, data.begin() + (std::ptrdiff_t) (from + count), 0xFF);
    }
};

TEST_F (DeviceProgramming, FlashHoldsTheImageInsideTheRegionsAndErasedBlocksAfterARegionsFirstAreNotSent)
{
    const auto config = configWithRegions ({ { 0x0000, 0x1000 }, { 0x1F000, 0x800 } });
    const auto& pedal = attach (config);
    auto low = ImageFileBuilder::patternBytes (0x0000, 0x1000);
    erase (low, 0x300, 0x200);
    auto high = ImageFileBuilder::patternBytes (0x1F000, 0x800);
    erase (high, 0x000, 0x100);
    const auto image = ImageFileBuilder().addRecord (0x0000, low).addRecord (0x2000, 0x100).addRecord (0x1F000, high).getFile();

    EXPECT_EQ (program (*unprobedDevice (config), image), "");

    EXPECT_EQ (pedal.readFlash (0x0000, 0x1000), low);
    EXPECT_EQ (pedal.readFlash (0x1F000, 0x800), high);
    EXPECT_EQ (pedal.readFlash (0x2000, 0x100), Bytes (0x100, 0xFF));

    auto expected = blocks (0x0000, 0x300);
    const auto afterGap = blocks (0x500, 0x1000);
    const auto secondRegion = blocks (0x1F000, 0x1F800);
    expected.insert (expected.end(), afterGap.begin(), afterGap.end());
    expected.insert (expected.end(), secondRegion.begin(), secondRegion.end());
    EXPECT_EQ (writesHeardBy (pedal), expected);
}

TEST_F (DeviceProgramming, ReportsEveryBlockIncludingTheOnesNotSent)
{
    const auto config = configWithRegions ({ { 0x1F000, 0x400 } });
    attach (config);
    auto data = ImageFileBuilder::patternBytes (0x1F000, 0x400);
    erase (data, 0x200, 0x100);
    const auto device = unprobedDevice (config);

    EXPECT_EQ (program (*device, ImageFileBuilder().addRecord (0x1F000, data).getFile()), "");

    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::initializingDevice,
                                                               "Writing at address: 0x1F000",
                                                               "Writing at address: 0x1F100",
                                                               "Writing at address: 0x1F200",
                                                               "Writing at address: 0x1F300",
                                                               UserTexts::updateComplete }));
    EXPECT_EQ (reporter.getFractions(), (std::vector<double> { -1.0, 0.25, 0.5, 0.75, 1.0 }));
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (DeviceProgramming, AcknowledgedSwitchKeepsAddressingTheDeviceByItsNormalHeader)
{
    const auto config = configOfBlocks (1);
    const auto& pedal = attach (config);
    const auto device = unprobedDevice (config);

    EXPECT_EQ (program (*device, imageOfBlocks (1)), "");

    EXPECT_FALSE (device->isWaitingForUpdate());
    const auto heard = heardBy (pedal);
    ASSERT_EQ (heard.size(), 4u);
    EXPECT_EQ (std::vector<std::string> (heard.begin(), heard.begin() + 3),
               (std::vector<std::string> { "71:", "7B: 00", "78:" }));
}

TEST_F (DeviceProgramming, DeviceAlreadyWaitingIsNotSwitchedAndIsAddressedByItsUpdateProductId)
{
    auto config = configOfBlocks (1);
    config.updateProductId = 0x12;
    config.startsInUpdateMode = true;
    const auto& pedal = attach (config);
    const auto device = probedDevice (config, devicetest::shortReplyTimeouts());

    EXPECT_EQ (program (*device, imageOfBlocks (1)), "");

    EXPECT_EQ (heardBy (pedal), (std::vector<std::string> { "01: 7F 7F 7F", "01: 7F 7F 7F", "7B: 00", "78:",
                                                            "7A: 00 00 00 00 01 00 " + devicetest::hexOf (ImageFileBuilder::patternBytes (0, 0x100)) }));
    EXPECT_EQ (productIdsHeardBy (pedal), (std::vector<int> { 0x02, 0x12, 0x12, 0x12, 0x12 }));
}

TEST_F (DeviceProgramming, SilenceAfterTheSwitchIsTakenAsUpdateModeAndItsHeaderUsedFromThen)
{
    auto config = configOfBlocks (1);
    config.updateProductId = 0x12;
    config.acknowledgesUpdateMode = false;
    const auto& pedal = attach (config);
    const auto device = unprobedDevice (config, devicetest::shortReplyTimeouts());

    EXPECT_EQ (program (*device, imageOfBlocks (1)), "");

    EXPECT_TRUE (device->isWaitingForUpdate());
    EXPECT_EQ (productIdsHeardBy (pedal), (std::vector<int> { 0x02, 0x12, 0x12, 0x12 }));
}

TEST_F (DeviceProgramming, BrismaModelHasItsPortsClosedAndOpenedAgainAfterTheSwitch)
{
    const auto config = reopeningBrismaConfig();
    const auto& pedal = attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (1)), "");

    EXPECT_EQ (pedal.readFlash (0, 0x100), ImageFileBuilder::patternBytes (0, 0x100));
    EXPECT_EQ (observer.waitForPortChanges (9), (std::vector<std::string> { "0/0", "1/0", "1/1", "0/1", "0/0",
                                                                            "1/0", "1/1", "0/1", "0/0" }));
}

TEST_F (DeviceProgramming, CalvioModelPreparesItsLowPagesBeforeWritingTheRegionAtZeroOnly)
{
    auto config = configWithRegions ({ { 0x0000, 0x9000 }, { 0x9000, 0x100 } });
    config.familyId = 0x1A;
    config.productId = config.updateProductId = 0x01;
    const auto& pedal = attach (config);
    const auto image = ImageFileBuilder().addRecord (0x0000, 0x100).addRecord (0x9000, 0x100).getFile();

    EXPECT_EQ (program (*unprobedDevice (config), image), "");

    const auto heard = heardBy (pedal);
    ASSERT_GE (heard.size(), 11u);
    EXPECT_EQ (std::vector<std::string> (heard.begin() + 3, heard.begin() + 11),
               (std::vector<std::string> { "7B: 00", "7A: 00 00 80 00 00 01 FF",
                                           "7B: 00", "7A: 00 00 60 00 00 01 FF",
                                           "7B: 00", "7A: 00 00 40 00 00 01 FF",
                                           "7B: 00", "7A: 00 00 00 00 00 01 FF" }));
    EXPECT_EQ (writesHeardBy (pedal), (std::vector<juce::uint32> { 0x8000, 0x6000, 0x4000, 0x0000, 0x0000, 0x9000 }));
    EXPECT_EQ (pedal.readFlash (0, 0x100), ImageFileBuilder::patternBytes (0, 0x100));
}

// Writing nothing is no update; the device has been switched and is left waiting.
TEST_F (DeviceProgramming, MemoryMapWithoutRegionsFailsBeforeAnyWrite)
{
    const auto config = configWithRegions ({});
    const auto& pedal = attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (1)),
               "image: The firmware image does not fit the device's memory");

    EXPECT_TRUE (writesHeardBy (pedal).empty());
    EXPECT_TRUE (pedal.isInUpdateMode());
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ UserTexts::initializingDevice, UserTexts::updateFailedStatus }));
    EXPECT_EQ (reporter.getFractions(), std::vector<double> { -1.0 });
}

TEST_F (DeviceProgramming, BlockRejectedTwiceAsFailedAndThenAcknowledgedSucceeds)
{
    auto config = configOfBlocks (3);
    config.faults.push_back ({ SimulatedFault::Kind::errorReply, DeviceCommand::WriteBlock, 2, 2, 12 });
    const auto& pedal = attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (3)), "");

    EXPECT_EQ (writesHeardBy (pedal), (std::vector<juce::uint32> { 0x000, 0x100, 0x100, 0x100, 0x200 }));
    EXPECT_EQ (pedal.readFlash (0, 0x300), ImageFileBuilder::patternBytes (0, 0x300));
}

TEST_F (DeviceProgramming, BlockRejectedThreeTimesAsFailedFailsTheUpdate)
{
    auto config = configOfBlocks (3);
    config.faults.push_back ({ SimulatedFault::Kind::errorReply, DeviceCommand::WriteBlock, 2, 3, 12 });
    const auto& pedal = attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (3)),
               "target 0x7A/12: Command 0x7A failed");

    EXPECT_EQ (writesHeardBy (pedal), (std::vector<juce::uint32> { 0x000, 0x100, 0x100, 0x100 }));
    EXPECT_EQ (reporter.getStatusTexts()[reporter.getStatusTexts().size() - 1], UserTexts::updateFailedStatus);
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (DeviceProgramming, BlockRejectedForAnyOtherReasonFailsTheUpdateAtOnce)
{
    auto config = configOfBlocks (3);
    config.faults.push_back ({ SimulatedFault::Kind::errorReply, DeviceCommand::WriteBlock, 1, 1, 10 });
    const auto& pedal = attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (3)),
               "target 0x7A/10: Command 0x7A caused a buffer overrun on the device");

    EXPECT_EQ (writesHeardBy (pedal), std::vector<juce::uint32> { 0x000 });
}

TEST_F (DeviceProgramming, EmptyRegionCountsNoneOfTheImage)
{
    const auto config = configWithRegions ({ { 0x0000, 0 }, { 0x1000, 0x100 } });
    attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), ImageFileBuilder().addRecord (0x1000, 0x100).getFile()), "");

    EXPECT_EQ (reporter.getFractions(), (std::vector<double> { -1.0, 1.0 }));
}
