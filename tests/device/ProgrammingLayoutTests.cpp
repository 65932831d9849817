#include "tests/device/ProgrammingTest.h"
#include "tests/support/UserTexts.h"

// Where images and memory maps put their bytes, anywhere in the 32-bit address space:
// what goes over the wire, what the flash holds afterwards, and how the update ends.
namespace
{
    struct Record
    {
        juce::uint32 address;
        juce::uint32 length;
    };

    struct LayoutCase
    {
        const char* name;
        std::vector<SimulatedRegion> regions;
        std::vector<Record> records;               // in file order
        std::vector<HeardWrite> writes;            // every WriteBlock, in order
        std::string outcome;                       // empty: UserTexts::updateComplete
        SimulatedRegion flash { 0, 0 };            // length 0: the flash spans the regions
    };

    std::ostream& operator<< (std::ostream& out, const LayoutCase& layout)
    {
        return out << layout.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<LayoutCase>& layout)
    {
        return layout.param.name;
    }

    // clang-format off
    const LayoutCase layouts[] = {
        { "RecordsOnlyFarAboveTheOnlyRegionDoNotFitTheDevice",
          { { 0x0000, 0x10000 } }, { { 0x90000000, 0x100 }, { 0xFFFFFF00, 0x100 } }, {},
          "image: The firmware image does not fit the device's memory" },
        { "OnlyTheRecordInsideTheRegionIsWrittenBesideRecordsFarAbove",
          { { 0x0000, 0x10000 } }, { { 0x0100, 0x100 }, { 0x90000000, 0x100 }, { 0xFFFFFF00, 0x100 } },
          { { 0x0100, 0x100 } }, "" },
        { "RegionCrossingTheMiddleOfTheAddressSpaceIsWalkedAcrossIt",
          { { 0x7FFFFF00, 0x300 } }, { { 0x7FFFFF80, 0x100 }, { 0x80000100, 0x10 } },
          { { 0x7FFFFF80, 0x100 }, { 0x80000100, 0x10 } }, "" },
        { "RegionOfTheWholeAddressSpaceButOneIsWalkedToItsLastAddress",
          { { 0x0000, 0xFFFFFFFF } }, { { 0xFFFFFE00, 0x100 }, { 0xFFFFFF00, 0x100 } },
          { { 0xFFFFFE00, 0x100 }, { 0xFFFFFF00, 0xFF } }, "", { 0xFFFFFE00, 0x200 } },
        { "RecordEndingAtTheTopOfTheAddressSpaceIsWrittenToItsLastByte",
          { { 0xFFFFFE00, 0x200 } }, { { 0xFFFFFE80, 0x180 } },
          { { 0xFFFFFE80, 0x100 }, { 0xFFFFFF80, 0x80 } }, "" },
        { "RegionClaimingToRunPastTheTopEndsThereInsteadOfWrappingRoundToZero",
          { { 0xFFFFFF00, 0x200 } }, { { 0x0000, 0x100 }, { 0xFFFFFF80, 0x80 } },
          { { 0xFFFFFF80, 0x80 } }, "", { 0xFFFFFF00, 0x100 } },
        { "RecordRunningPastItsRegionHasItsBlockCutAtTheRegionsEnd",
          { { 0x0000, 0x180 } }, { { 0x0000, 0x200 } },
          { { 0x0000, 0x100 }, { 0x0100, 0x80 } }, "", { 0x0000, 0x200 } },
        { "RecordSpanningTheGapBetweenTwoRegionsIsWrittenInsideBothOnly",
          { { 0x0000, 0x180 }, { 0x0200, 0x100 } }, { { 0x0100, 0x180 } },
          { { 0x0100, 0x80 }, { 0x0200, 0x80 } }, "" },
        { "RecordsOutOfOrderAreAllWrittenInAddressOrder",
          { { 0x0000, 0x1000 } }, { { 0x0800, 0x100 }, { 0x0000, 0x100 }, { 0x0400, 0x100 } },
          { { 0x0000, 0x100 }, { 0x0400, 0x100 }, { 0x0800, 0x100 } }, "" },
        { "OverlappingRecordsFailTheUpdateBeforeAnyWrite",
          { { 0x0000, 0x1000 } }, { { 0x0000, 0x200 }, { 0x0100, 0x100 } },
          {}, "image: The firmware image has overlapping records" },
    };
    // clang-format on

    bool lies (juce::uint64 address, juce::uint64 start, juce::uint64 length)
    {
        return address >= start && address < start + length;
    }

    bool insideARegion (const LayoutCase& layout, juce::uint64 address)
    {
        return std::any_of (layout.regions.begin(), layout.regions.end(),
                            [address] (const SimulatedRegion& r) { return lies (address, r.start, r.length); });
    }

    /** What the flash must hold at address after the update. */
    juce::uint8 expectedFlashByte (const LayoutCase& layout, juce::uint32 address)
    {
        const auto imaged = std::any_of (layout.records.begin(), layout.records.end(),
                                         [address] (const Record& r) { return lies (address, r.address, r.length); });
        const auto written = layout.outcome.empty() && imaged && insideARegion (layout, address);
        return written ? ImageFileBuilder::patternByte (address) : 0xFF;
    }

    class ProgrammingLayout : public ProgrammingTest,
                              public ::testing::WithParamInterface<LayoutCase>
    {
    protected:
        SimulatedDeviceConfig configFor (const LayoutCase& layout)
        {
            auto config = configWithRegions (layout.regions);

            if (layout.flash.length > 0)
            {
                config.memoryMap.flashStart = layout.flash.start;
                config.memoryMap.flashSize = layout.flash.length;
            }

            return config;
        }

        static juce::MemoryBlock imageOf (const LayoutCase& layout)
        {
            ImageFileBuilder builder;

            for (const auto& record : layout.records)
                builder.addRecord (record.address, record.length);

            return builder.getFile();
        }
    };

    class ProgrammingManyRecords : public ProgrammingTest
    {
    };
}

TEST_P (ProgrammingLayout, SendsOnlyInsideTheRegionsAndWritesAllTheImageThere)
{
    const auto& layout = GetParam();
    const auto config = configFor (layout);
    const auto& pedal = attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOf (layout)), layout.outcome);

    const auto writes = writeBlocksHeardBy (pedal);
    EXPECT_EQ (writes, layout.writes);

    for (const auto& write : writes)
    {
        EXPECT_TRUE (insideARegion (layout, write.address) && insideARegion (layout, (juce::uint64) write.address + write.size - 1))
            << write;
    }

    const auto flashStart = config.memoryMap.flashStart;
    const auto flash = pedal.readFlash (flashStart, config.memoryMap.flashSize);
    ASSERT_EQ (flash.size(), config.memoryMap.flashSize);

    for (juce::uint32 i = 0; i < flash.size(); ++i)
    {
        if (flash[i] != expectedFlashByte (layout, flashStart + i))
        {
            ADD_FAILURE() << "the flash is wrong at 0x" << std::hex << flashStart + i;
            break;
        }
    }

    const auto texts = reporter.getStatusTexts();
    EXPECT_EQ (texts[texts.size() - 1], juce::String (layout.outcome.empty() ? UserTexts::updateComplete : UserTexts::updateFailedStatus));

    if (layout.outcome.empty())
    {
        EXPECT_EQ (reporter.getFractions().back(), writes.empty() ? -1.0 : 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P (Layouts, ProgrammingLayout, ::testing::ValuesIn (layouts), nameOf);

// Empty records hold nothing; a million of them in the file must not cost a million
// searches of the others (written in memory: it stays cheap under the sanitizers).
TEST_F (ProgrammingManyRecords, MillionEmptyRecordsBeforeTheDataAreSteppedOverInOneGo)
{
    const auto config = configWithRegions ({ { 0x0000, 0x100000 } });
    const auto& pedal = attach (config);
    ImageFileBuilder builder;

    for (juce::uint32 i = 0; i < 1000000; ++i)
        builder.addRecord (0x1000 + i, ImageFileBuilder::Bytes {});

    const auto image = builder.addRecord (0xF8000, 0x100).getFile();

    EXPECT_EQ (program (*unprobedDevice (config), image), "");

    EXPECT_EQ (writeBlocksHeardBy (pedal), (std::vector<HeardWrite> { { 0xF8000, 0x100 } }));
    EXPECT_EQ (pedal.readFlash (0xF8000, 0x100), ImageFileBuilder::patternBytes (0xF8000, 0x100));
    EXPECT_EQ (reporter.getFractions(), (std::vector<double> { -1.0, 1.0 }));
}
