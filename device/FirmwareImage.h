#pragma once

#include "device/ImageRecord.h"

#include <juce_core/juce_core.h>

/** Reads a firmware image file block by block, by device address.

    The file is a 4-byte magic followed by records, each a big-endian 32-bit address
    and length and then that many data bytes. parse indexes the records once; reads
    then come straight from the stream, which must know its length and allow
    repositioning. The stream is not owned and must outlive this object.

    Records are expected in ascending address order without overlap. Reading moves
    the stream, so one thread at a time uses the reader and nobody else the stream.
*/
class FirmwareImage
{
public:
    explicit FirmwareImage (juce::InputStream& stream);

    /** Indexes the records and positions the stream at the first one's data.
        Throws BinFileException when the file ends inside a record.
    */
    void parse();

    /** Copies up to maximumSize bytes of one record, starting at address, and returns
        how many. A block never spans two records. On return, address is where the
        next block starts; when address lay in a gap, nothing is copied and address
        becomes the next record's start, or -1 when no image data follows. No address
        follows a record that reaches 0xFFFFFFFF, so address becomes -1 there too; and as
        -1 is never read at, a byte at 0xFFFFFFFF is read only in a block that starts
        before it.
    */
    int readBlock (juce::int32& address, juce::uint8* buffer, int maximumSize);

    /** The number of image bytes whose address lies from first to last inclusive. */
    juce::int64 countBytesInRange (juce::uint32 first, juce::uint32 last) const;

    /** What the user is shown for a file that ends too early, spelt as it always was. */
    static constexpr const char* unexpectedEndText = "Unexpected end of file encoutered";

    /** False for a file that ends before its first record: it holds nothing to write. */
    bool hasRecords() const noexcept    { return ! records.isEmpty(); }

    /** True when every byte is 0xFF, as in erased flash (also for an empty block). */
    static bool isErasedBlock (const juce::uint8* buffer, int size);

private:
    ImageRecord recordAt (int index) const;
    void selectRecord (int index);
    juce::int64 bytesLeftInRecord() const;
    bool seekToAddress (juce::uint32 address);
    bool seekToNextRecord (juce::uint32 address);
    bool moveStreamTo (juce::int64 position);

    juce::InputStream& stream;
    juce::int32 currentAddress = 0;
    juce::Array<ImageRecord> records;
    int currentRecord = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareImage)
};
