#include "demo/FlashCheck.h"

#include <gtest/gtest.h>

namespace
{
    struct Record
    {
        juce::uint32 address;
        std::vector<juce::uint8> data;
    };

    juce::MemoryBlock imageOf (const std::vector<Record>& records)
    {
        juce::MemoryOutputStream file;
        file.write ("\x00\x5C\x00\x05", 4);

        for (const auto& record : records)
        {
            file.writeIntBigEndian ((int) record.address);
            file.writeIntBigEndian ((int) record.data.size());
            file.write (record.data.data(), record.data.size());
        }

        return file.getMemoryBlock();
    }

    std::vector<juce::uint8> bytes (size_t count, juce::uint8 first)
    {
        std::vector<juce::uint8> result (count);

        for (size_t i = 0; i < count; ++i)
            result[i] = (juce::uint8) (first + i);

        return result;
    }

    // Flash from 0 to 0x2000, 0xFF where nothing was written.
    struct Flash
    {
        void write (juce::uint32 address, const std::vector<juce::uint8>& data)
        {
            std::copy (data.begin(), data.end(), memory.begin() + address);
        }

        FlashCheck::FlashReader reader() const
        {
            return [this] (juce::uint32 address, juce::uint32 length)
            {
                const auto end = std::min<size_t> (memory.size(), (size_t) address + length);
                return std::vector<juce::uint8> (memory.begin() + address, memory.begin() + (long) end);
            };
        }

        std::vector<juce::uint8> memory = std::vector<juce::uint8> (0x2000, 0xFF);
    };

    const std::vector<SimulatedRegion> regions { { 0x0000, 0x0800 }, { 0x1000, 0x0800 } };
}

TEST (FlashCheck, AFlashHoldingEveryRecordMatches)
{
    Flash flash;
    flash.write (0x0100, bytes (0x200, 1));
    flash.write (0x1200, bytes (0x80, 7));

    EXPECT_TRUE (FlashCheck::matches (imageOf ({ { 0x0100, bytes (0x200, 1) }, { 0x1200, bytes (0x80, 7) } }),
                                      regions, flash.reader()));
}

TEST (FlashCheck, OneDifferentByteInsideARegionIsAMismatch)
{
    Flash flash;
    flash.write (0x0100, bytes (0x200, 1));
    flash.memory[0x02FF] ^= 1;

    EXPECT_FALSE (FlashCheck::matches (imageOf ({ { 0x0100, bytes (0x200, 1) } }), regions, flash.reader()));
}

TEST (FlashCheck, ImageBytesOutsideEveryRegionAreNotCompared)
{
    // The record runs from 0x0700 to 0x08FF; only its first 0x100 bytes lie in a region.
    Flash flash;
    flash.write (0x0700, bytes (0x100, 3));

    EXPECT_TRUE (FlashCheck::matches (imageOf ({ { 0x0700, bytes (0x200, 3) } }), regions, flash.reader()));
}

TEST (FlashCheck, ErasedFlashDoesNotHoldAnImageWithData)
{
    EXPECT_FALSE (FlashCheck::matches (imageOf ({ { 0x0000, bytes (0x10, 0) } }), regions, Flash().reader()));
}

TEST (FlashCheck, AnImageWithNoByteInsideARegionProvesNothing)
{
    EXPECT_FALSE (FlashCheck::matches (imageOf ({ { 0x0800, bytes (0x800, 0) } }), regions, Flash().reader()));
    EXPECT_FALSE (FlashCheck::matches (imageOf ({}), regions, Flash().reader()));
}

TEST (FlashCheck, AFileThatIsNotAWholeImageNeverMatches)
{
    Flash flash;
    flash.write (0x0000, bytes (0x20, 0));
    const auto whole = imageOf ({ { 0x0000, bytes (0x20, 0) } });

    EXPECT_TRUE (FlashCheck::matches (whole, regions, flash.reader()));

    juce::MemoryBlock cutShort (whole.getData(), whole.getSize() - 1);
    EXPECT_FALSE (FlashCheck::matches (cutShort, regions, flash.reader()));

    auto wrongMagic = whole;
    wrongMagic[1] = 0x5D;
    EXPECT_FALSE (FlashCheck::matches (wrongMagic, regions, flash.reader()));

    EXPECT_FALSE (FlashCheck::matches (juce::MemoryBlock ("\x00\x5C", 2), regions, flash.reader()));
}

TEST (FlashCheck, UpToEightBytesAfterTheLastRecordAreIgnored)
{
    Flash flash;
    flash.write (0x0000, bytes (0x20, 0));
    auto image = imageOf ({ { 0x0000, bytes (0x20, 0) } });
    image.append ("\x00\x00\x00\x00\x00\x00\x00\x08", 8);

    EXPECT_TRUE (FlashCheck::matches (image, regions, flash.reader()));
}

TEST (FlashCheck, AFlashThatEndsBeforeTheRegionIsAMismatch)
{
    Flash flash;
    flash.memory.resize (0x1100);

    EXPECT_FALSE (FlashCheck::matches (imageOf ({ { 0x1000, std::vector<juce::uint8> (0x200, 0xFF) } }),
                                       regions, flash.reader()));
}
