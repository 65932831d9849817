#include "device/BinFileException.h"
#include "device/FirmwareImage.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"

// Input: a 16-bit block size, the 32-bit address to start reading at, a 32-bit range
// to count bytes in (first, last), then the image file.
//
// Reading block after block from any address must end: each block either moves on past
// data not read yet or jumps to a later record, so there can be no more blocks than the
// file has data bytes per block, plus a short block and a jump per record.
namespace
{
    void readToTheEnd (FirmwareImage& image, juce::uint32 start, int blockSize, std::size_t fileSize)
    {
        const auto mostRecords = fileSize / 8;
        const auto mostBlocks = fileSize / (std::size_t) blockSize + 2 * mostRecords + 2;
        std::vector<juce::uint8> buffer ((std::size_t) blockSize);
        auto address = (juce::int32) start;

        for (std::size_t blocks = 0; address != -1; ++blocks)
        {
            fuzzExpect (blocks <= mostBlocks, "reading the image ends");

            const auto blockAddress = (juce::uint32) address;
            const auto size = image.readBlock (address, buffer.data(), blockSize);
            fuzzExpect (size >= 0 && size <= blockSize, "a block fits its buffer");

            if (size > 0)
                fuzzExpect (address == -1 || (juce::uint32) address == blockAddress + (juce::uint32) size,
                            "the next block follows the one read");

            FirmwareImage::isErasedBlock (buffer.data(), size);
        }
    }

    void countInRange (const FirmwareImage& image, juce::uint32 first, juce::uint32 last)
    {
        const auto inRange = image.countBytesInRange (first, last);
        fuzzExpect (inRange >= 0, "a range holds no negative number of bytes");
        fuzzExpect (inRange <= image.countBytesInRange (0, 0xFFFFFFFF), "a range holds no more than all addresses");
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    FuzzInput input (data, size);
    const auto blockSize = juce::jmax (1, (int) input.bigEndian16());
    const auto start = input.bigEndian32();
    const auto first = input.bigEndian32();
    const auto last = input.bigEndian32();
    const auto file = input.rest();

    juce::MemoryInputStream stream (file.data(), file.size(), false);
    FirmwareImage image (stream);

    try
    {
        image.parse();
    }
    catch (const BinFileException&)
    {
        return 0;
    }

    countInRange (image, first, last);
    readToTheEnd (image, start, blockSize, file.size());
    return 0;
}
