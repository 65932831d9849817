#include "device/BinFileException.h"
#include "device/FirmwareImage.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"

#include <algorithm>

// Input: a 16-bit block size, the 32-bit address to start reading at, a 32-bit range
// (first, last) to count bytes in and to walk as a device region is walked, then the
// image file.
//
// Reading block after block, from the start address to the end of the data or across
// the range with its last block cut at the range's end, must end: each block either
// moves on past data not read yet or jumps to a later record, so there can be no more
// blocks than the file has data bytes per block, plus a short block and a jump per
// record. Every block lies inside what was asked for and inside one record, and holds
// that record's bytes from the file; a walk delivers exactly the bytes counted in it.
namespace
{
    struct FileRecord
    {
        juce::uint64 address;
        juce::uint64 length;
        std::size_t offset;
    };

    // The records as the file lists them, found without the reader, for a file it parsed.
    std::vector<FileRecord> listRecords (const FuzzInput::Bytes& file)
    {
        std::vector<FileRecord> records;

        for (std::size_t position = 4; position + 8 < file.size();)
        {
            const auto address = juce::ByteOrder::bigEndianInt (file.data() + position);
            const auto length = juce::ByteOrder::bigEndianInt (file.data() + position + 4);
            records.push_back ({ address, length, position + 8 });
            position += 8 + (std::size_t) length;
        }

        return records;
    }

    struct Walk
    {
        FirmwareImage& image;
        const FuzzInput::Bytes& file;
        const std::vector<FileRecord> records;
        const int blockSize;

        void expectFileBytes (juce::uint64 address, const juce::uint8* block, int size) const
        {
            const auto record = std::find_if (records.begin(), records.end(), [address, size] (const FileRecord& r)
            {
                return r.address <= address && address + (juce::uint64) size <= r.address + r.length;
            });

            fuzzExpect (record != records.end(), "a block lies inside one record");
            const auto first = file.begin() + (std::ptrdiff_t) (record->offset + (address - record->address));
            fuzzExpect (std::equal (block, block + size, first), "a block holds the file's bytes for its addresses");
        }

        // Reads from start up to before end, as the programming sequence walks a region;
        // the number of bytes delivered.
        juce::int64 readFrom (juce::uint64 start, juce::uint64 end) const
        {
            const auto mostBlocks = file.size() / (std::size_t) blockSize + 2 * (file.size() / 8) + 2;
            std::vector<juce::uint8> buffer ((std::size_t) blockSize);
            juce::int64 delivered = 0;
            auto address = start;

            for (std::size_t blocks = 0; address < end; ++blocks)
            {
                fuzzExpect (blocks <= mostBlocks, "reading the image ends");

                const auto blockAddress = address;
                const auto maximumSize = (int) std::min ((juce::uint64) blockSize, end - address);
                const auto size = image.readBlock (address, buffer.data(), maximumSize);
                fuzzExpect (size >= 0 && size <= maximumSize, "a block fits its buffer and what was asked for");

                if (size == 0)
                {
                    fuzzExpect (address > blockAddress, "a read that delivers nothing moves on");
                    continue;
                }

                fuzzExpect (address == blockAddress + (juce::uint64) size, "the next block follows the one read");
                expectFileBytes (blockAddress, buffer.data(), size);
                FirmwareImage::isErasedBlock (buffer.data(), size);
                delivered += size;
            }

            return delivered;
        }
    };

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
    const Walk walk { image, file, listRecords (file), blockSize };

    fuzzExpect (walk.readFrom (start, FirmwareImage::endOfData) == image.countBytesInRange (start, 0xFFFFFFFF),
                "reading to the end delivers every byte from the start on");

    if (first <= last)
        fuzzExpect (walk.readFrom (first, (juce::uint64) last + 1) == image.countBytesInRange (first, last),
                    "a walk across a range delivers every byte counted in it");

    return 0;
}
