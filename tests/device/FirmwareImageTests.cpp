#include "device/BinFileException.h"
#include "device/FirmwareImage.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/device/TestImageStream.h"

#include <gtest/gtest.h>

namespace
{
    using Bytes = ImageFileBuilder::Bytes;

    struct Block
    {
        juce::uint64 address;
        Bytes data;

        bool operator== (const Block& other) const { return address == other.address && data == other.data; }
    };

    std::ostream& operator<< (std::ostream& out, const Block& block)
    {
        return out << "{0x" << std::hex << block.address << std::dec << ", " << block.data.size() << " bytes}";
    }

    Block patternBlock (juce::uint32 address, juce::uint32 length)
    {
        return { address, ImageFileBuilder::patternBytes (address, length) };
    }

    /** Reads blocks from start on until the image reports its end; gaps give no block. */
    std::vector<Block> readAllBlocks (FirmwareImage& image, juce::uint64 start, int blockSize)
    {
        std::vector<Block> blocks;
        Bytes buffer ((size_t) blockSize);

        for (auto address = start; address != FirmwareImage::endOfData;)
        {
            const auto blockAddress = address;
            const auto count = image.readBlock (address, buffer.data(), blockSize);

            if (count > 0)
                blocks.push_back ({ blockAddress, Bytes (buffer.begin(), buffer.begin() + count) });

            if (blocks.size() > 10000)
                throw std::runtime_error ("the image never reported its end");
        }

        return blocks;
    }

    /** A parsed image over an in-memory copy of the file; the stream outlives the reader. */
    struct ParsedImage
    {
        explicit ParsedImage (const ImageFileBuilder& builder)
            : stream (builder.getFile(), true),
              image (stream)
        {
            image.parse();
        }

        juce::MemoryInputStream stream;
        FirmwareImage image;
    };

    std::string parseErrorOf (juce::InputStream& stream)
    {
        try
        {
            FirmwareImage (stream).parse();
        }
        catch (const BinFileException& e)
        {
            return e.what();
        }

        return {};
    }
}

TEST (FirmwareImageBlocks, RecordIsReadInFullBlocksThenOneShortBlockThenEnd)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x1000, 0x250));
    Bytes buffer (256);
    juce::uint64 address = 0x1000;

    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 256), 256);
    EXPECT_EQ (address, 0x1100);
    EXPECT_EQ (buffer, ImageFileBuilder::patternBytes (0x1000, 256));
    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 256), 256);
    EXPECT_EQ (address, 0x1200);
    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 256), 80);
    EXPECT_EQ (address, 0x1250);
    EXPECT_EQ (Bytes (buffer.begin(), buffer.begin() + 80), ImageFileBuilder::patternBytes (0x1200, 80));
    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 256), 0);
    EXPECT_EQ (address, FirmwareImage::endOfData);
}

TEST (FirmwareImageBlocks, AddressInAGapMovesToTheNextRecordsStart)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x0000, 0x100).addRecord (0x2000, 0x100));
    Bytes buffer (256);
    juce::uint64 address = 0x0100;

    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 256), 0);
    EXPECT_EQ (address, 0x2000);
    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 256), 256);
    EXPECT_EQ (buffer, ImageFileBuilder::patternBytes (0x2000, 256));
}

TEST (FirmwareImageBlocks, AddressBeforeTheFirstRecordMovesToItsStart)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x1000, 0x10));

    EXPECT_EQ (readAllBlocks (file.image, 0x0000, 256), std::vector<Block> { patternBlock (0x1000, 0x10) });
}

TEST (FirmwareImageBlocks, AddressPastEveryRecordReportsTheEnd)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x1000, 0x10));
    Bytes buffer (16);
    juce::uint64 address = 0x1010;

    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 16), 0);
    EXPECT_EQ (address, FirmwareImage::endOfData);
}

TEST (FirmwareImageBlocks, ReadingCanStartInsideARecord)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x1000, 0x100).addRecord (0x3000, 0x20));

    EXPECT_EQ (readAllBlocks (file.image, 0x1080, 0x60),
               (std::vector<Block> { patternBlock (0x1080, 0x60), patternBlock (0x10E0, 0x20), patternBlock (0x3000, 0x20) }));
}

TEST (FirmwareImageBlocks, BlockNeverSpansTwoAdjacentRecords)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x0000, 0x100).addRecord (0x0100, 0x100));

    EXPECT_EQ (readAllBlocks (file.image, 0x0000, 0x180),
               (std::vector<Block> { patternBlock (0x0000, 0x100), patternBlock (0x0100, 0x100) }));
}

TEST (FirmwareImageBlocks, GoingBackToAnEarlierRecordRereadsIt)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x0000, 0x40).addRecord (0x1000, 0x40));

    ASSERT_EQ (readAllBlocks (file.image, 0x1000, 0x40).size(), 1u);
    EXPECT_EQ (readAllBlocks (file.image, 0x0010, 0x40),
               (std::vector<Block> { patternBlock (0x0010, 0x30), patternBlock (0x1000, 0x40) }));
}

TEST (FirmwareImageBlocks, EmptyRecordAtAddressZeroCoversNothing)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x0000, Bytes {}).addRecord (0x1000, 0x08));

    EXPECT_EQ (readAllBlocks (file.image, 0x0010, 0x40), std::vector<Block> { patternBlock (0x1000, 0x08) });
    EXPECT_EQ (file.image.countBytesInRange (0, 0xFFFFFFFF), 8);
}

TEST (FirmwareImageBlocks, ConsecutiveBlocksOfARecordComeWithoutMovingTheStream)
{
    TestImageStream stream (ImageFileBuilder().addRecord (0x1000, 0x1000).getFile());
    FirmwareImage image (stream);
    image.parse();
    const auto movesAfterParsing = stream.getMoveCount();

    EXPECT_EQ (readAllBlocks (image, 0x1000, 0x100).size(), 16u);
    EXPECT_EQ (stream.getMoveCount(), movesAfterParsing);
}

TEST (FirmwareImageBlocks, StreamThatStopsDeliveringFailsTheReadInsteadOfStalling)
{
    TestImageStream stream (ImageFileBuilder().addRecord (0x1000, 0x100).getFile());
    FirmwareImage image (stream);
    image.parse();
    stream.stopDelivering();
    Bytes buffer (0x40);
    juce::uint64 address = 0x1000;

    EXPECT_THROW (image.readBlock (address, buffer.data(), 0x40), BinFileException);
}

// Found by fuzzing: past a record that reaches 0xFFFFFFFF the address wrapped round to 0,
// and the reader took the bytes after that record in the file as its data.
TEST (FirmwareImageBlocks, RecordReachingTheTopOfTheAddressSpaceEndsTheData)
{
    // clang-format off
    ParsedImage file (ImageFileBuilder().addRawBytes ({ 0x00, 0x00, 0x00, 0x00,   0x00, 0x00, 0x00, 0x04,   0x11, 0x22, 0x33, 0x44,
                                                        0xFF, 0xFF, 0xFF, 0xFC,   0x00, 0x00, 0x00, 0x04,   0x55, 0x66, 0x77, 0x88 }));
    // clang-format on

    EXPECT_EQ (readAllBlocks (file.image, 0x0000, 4),
               (std::vector<Block> { { 0x0000, { 0x11, 0x22, 0x33, 0x44 } }, { 0xFFFFFFFC, { 0x55, 0x66, 0x77, 0x88 } } }));
}

TEST (FirmwareImageBlocks, ByteAtTheTopOfTheAddressSpaceIsReadLikeAnyOther)
{
    ParsedImage file (ImageFileBuilder().addRecord (0xFFFFFFF0, 0x10));
    Bytes buffer (16);
    juce::uint64 address = 0xFFFFFFF0;

    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 15), 15);
    EXPECT_EQ (address, 0xFFFFFFFFu);
    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 16), 1);
    EXPECT_EQ (buffer[0], ImageFileBuilder::patternByte (0xFFFFFFFF));
    EXPECT_EQ (address, FirmwareImage::endOfData);
    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 16), 0);
    EXPECT_EQ (address, FirmwareImage::endOfData);
}

TEST (FirmwareImageBlocks, EmptyRecordsInAGapAreSteppedOverInOneRead)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x20, Bytes {}).addRecord (0x30, Bytes {}).addRecord (0x40, 0x08));
    Bytes buffer (16);
    juce::uint64 address = 0x10;

    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 16), 0);
    EXPECT_EQ (address, 0x40u);
}

TEST (FirmwareImageParsing, OneRecordWithNothingAfterItIsOneRecord)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x4000, 0x21));

    EXPECT_EQ (file.stream.getTotalLength(), 4 + 8 + 0x21);
    EXPECT_EQ (readAllBlocks (file.image, 0, 0x100), std::vector<Block> { patternBlock (0x4000, 0x21) });
}

TEST (FirmwareImageParsing, UpToEightBytesAfterTheLastRecordAreIgnored)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x4000, 0x10).addRawBytes (Bytes (8, 0x00)));

    EXPECT_EQ (readAllBlocks (file.image, 0, 0x100), std::vector<Block> { patternBlock (0x4000, 0x10) });
}

TEST (FirmwareImageParsing, NineBytesAfterTheLastRecordAreARecordOfOneByte)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x4000, 0x10).addRawBytes ({ 0, 0, 0x50, 0, 0, 0, 0, 1, 0xAB }));

    EXPECT_EQ (readAllBlocks (file.image, 0, 0x100),
               (std::vector<Block> { patternBlock (0x4000, 0x10), Block { 0x5000, { 0xAB } } }));
}

TEST (FirmwareImageParsing, FileOfOnlyTheMagicHoldsNoData)
{
    ParsedImage file (ImageFileBuilder {});
    Bytes buffer (16);
    juce::uint64 address = 0;

    EXPECT_EQ (file.image.readBlock (address, buffer.data(), 16), 0);
    EXPECT_EQ (address, FirmwareImage::endOfData);
    EXPECT_EQ (file.image.countBytesInRange (0, 0xFFFFFFFF), 0);
}

TEST (FirmwareImageParsing, RecordRunningPastTheEndOfTheFileFails)
{
    auto file = ImageFileBuilder().addRecord (0x1000, 0x10).getFile();
    file.setSize (file.getSize() - 1);
    juce::MemoryInputStream stream (file, false);

    EXPECT_EQ (parseErrorOf (stream), "Unexpected end of file encoutered");
}

TEST (FirmwareImageParsing, FileTruncatedAtAnyLengthFailsOrKeepsItsCompleteRecords)
{
    ImageFileBuilder builder;
    builder.addRecord (0x0000, 0x30).addRecord (0x0100, 0x05).addRecord (0x8000, 0x41);
    const auto whole = builder.getFile();
    const std::vector<Block> records { patternBlock (0x0000, 0x30), patternBlock (0x0100, 0x05), patternBlock (0x8000, 0x41) };

    for (size_t length = 0; length <= whole.getSize(); ++length)
    {
        size_t complete = 0;

        while (complete < records.size() && builder.getRecordEnds()[complete] <= length)
            ++complete;

        const auto parsedUpTo = complete > 0 ? builder.getRecordEnds()[complete - 1] : 4;
        const auto shouldFail = length < 4 || length - parsedUpTo > 8;

        for (auto strict : { false, true })
        {
            std::unique_ptr<juce::InputStream> stream;

            if (strict)
                stream = std::make_unique<TestImageStream> (juce::MemoryBlock (whole.getData(), length));
            else
                stream = std::make_unique<juce::MemoryInputStream> (whole.getData(), length, false);

            FirmwareImage image (*stream);

            if (shouldFail)
            {
                EXPECT_EQ (parseErrorOf (*stream), "Unexpected end of file encoutered") << "length " << length;
                continue;
            }

            ASSERT_NO_THROW (image.parse()) << "length " << length;
            EXPECT_EQ (readAllBlocks (image, 0, 0x100), std::vector<Block> (records.begin(), records.begin() + (long) complete))
                << "length " << length;
        }
    }
}

TEST (FirmwareImageParsing, StreamThatCannotGoBackToTheFirstRecordFails)
{
    TestImageStream stream (ImageFileBuilder().addRecord (0x1000, 0x10).getFile());
    stream.refuseBackwardMoves();

    EXPECT_EQ (parseErrorOf (stream), "Unexpected end of file encountered");
}

TEST (FirmwareImageParsing, RecordsInAnyOrderAreReadByAddressButOverlappingOnesAreRefused)
{
    struct Layout
    {
        const char* name;
        std::vector<std::pair<juce::uint32, juce::uint32>> records;    // address and length, in file order
        std::vector<Block> blocks;                                     // none: refused
    };

    const Layout layouts[] = {
        // clang-format off
        { "adjacent", { { 0x00, 0x10 }, { 0x10, 0x10 } }, { patternBlock (0x00, 0x10), patternBlock (0x10, 0x10) } },
        { "descending", { { 0x100, 0x10 }, { 0x00, 0x10 } }, { patternBlock (0x00, 0x10), patternBlock (0x100, 0x10) } },
        { "shuffled with empty ones", { { 0x200, 0x08 }, { 0x50, 0 }, { 0x100, 0x08 }, { 0x100, 0 }, { 0x104, 0 } },
          { patternBlock (0x100, 0x08), patternBlock (0x200, 0x08) } },
        { "at the top, descending", { { 0xFFFFFFFF, 1 }, { 0xFFFFFFF0, 0x0F } },
          { patternBlock (0xFFFFFFF0, 0x0F), patternBlock (0xFFFFFFFF, 1) } },
        { "one inside another", { { 0x00, 0x100 }, { 0x80, 0x10 } }, {} },
        { "same start", { { 0x40, 1 }, { 0x40, 1 } }, {} },
        { "overlapping by one byte, descending", { { 0x80, 0x100 }, { 0x00, 0x81 } }, {} },
        // clang-format on
    };

    for (const auto& layout : layouts)
    {
        ImageFileBuilder builder;
        juce::int64 length = 0;

        for (const auto& [address, size] : layout.records)
        {
            builder.addRecord (address, size);
            length += size;
        }

        juce::MemoryInputStream stream (builder.getFile(), true);

        if (layout.blocks.empty())
        {
            EXPECT_EQ (parseErrorOf (stream), "The firmware image has overlapping records") << layout.name;
            continue;
        }

        FirmwareImage image (stream);
        ASSERT_NO_THROW (image.parse()) << layout.name;
        EXPECT_EQ (readAllBlocks (image, 0, 0x100), layout.blocks) << layout.name;
        EXPECT_EQ (image.countBytesInRange (0, 0xFFFFFFFF), length) << layout.name;
    }
}

TEST (FirmwareImageCounting, CountsOnlyTheBytesInsideTheRange)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x1000, 0x100).addRecord (0x2000, 0x100));

    EXPECT_EQ (file.image.countBytesInRange (0x1080, 0x10FF), 0x80);
    EXPECT_EQ (file.image.countBytesInRange (0x10FF, 0x2000), 2);
    EXPECT_EQ (file.image.countBytesInRange (0x1100, 0x1FFF), 0);
    EXPECT_EQ (file.image.countBytesInRange (0x0000, 0x0FFF), 0);
    EXPECT_EQ (file.image.countBytesInRange (0x0000, 0xFFFFFFFF), 0x200);
    EXPECT_EQ (file.image.countBytesInRange (0x1050, 0x1050), 1);
}

TEST (FirmwareImageCounting, InvertedRangeCountsNothing)
{
    ParsedImage file (ImageFileBuilder().addRecord (0x1000, 0x100));

    EXPECT_EQ (file.image.countBytesInRange (0x1080, 0x1010), 0);
    EXPECT_EQ (file.image.countBytesInRange (0x1000, 0x0FFF), 0);
}

TEST (FirmwareImageErasedBlocks, OnlyAllOnesIsErased)
{
    Bytes block (256, 0xFF);
    EXPECT_TRUE (FirmwareImage::isErasedBlock (block.data(), 256));
    EXPECT_TRUE (FirmwareImage::isErasedBlock (block.data(), 0));

    block[255] = 0xFE;
    EXPECT_FALSE (FirmwareImage::isErasedBlock (block.data(), 256));
    EXPECT_TRUE (FirmwareImage::isErasedBlock (block.data(), 255));
}

TEST (BinFileException, WhatIsItsMessageAlsoInACopy)
{
    const BinFileException original ("Unexpected end of file encoutered");
    const auto copy = original;

    EXPECT_STREQ (original.what(), "Unexpected end of file encoutered");
    EXPECT_STREQ (copy.what(), "Unexpected end of file encoutered");
}
