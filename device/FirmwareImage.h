#pragma once

#include "device/ImageRecord.h"

#include <juce_core/juce_core.h>

/** Reads a firmware image file block by block, by device address.

    The file is the 4-byte magic 00 5C 00 05 followed by records, each a big-endian 32-bit address
    and length and then that many data bytes. parse indexes the records once; reads
    then come straight from the stream, which must know its length and allow
    repositioning. The stream is not owned and must outlive this object.

    The index holds the records that have data, sorted by address, so a file may list
    them in any order; empty records hold nothing and are left out. Two records that
    claim the same address leave it open which byte the device should get, so such a
    file is refused. A cursor stays on the record being read: consecutive blocks cost
    neither a search nor a seek, and any other address is found by binary search, so
    reading an image is linear in its size however many records it has.

    Reading moves the stream, so one thread at a time uses the reader and nobody else
    the stream.
*/
class FirmwareImage
{
public:
    /** One past the top of the 32-bit address space: where readBlock leaves its address
        once no image data follows.
    */
    static constexpr juce::uint64 endOfData = (juce::uint64) 1 << 32;

    explicit FirmwareImage (juce::InputStream& stream);

    /** Checks the whole file, indexes its records and positions the stream at the data
        of the lowest one. Throws BinFileException when the file does not start with the
        magic, ends inside a record, holds a record that runs past 0xFFFFFFFF, or holds
        records that overlap. Nothing is kept but the index, so a file can be checked
        before anything depends on it and then read from the same reader.
    */
    void parse();

    /** Copies up to maximumSize bytes of one record, starting at address, and returns
        how many. A block never spans two records. On return, address is where the
        next block starts; when address lay in a gap, nothing is copied and address
        becomes the next record's start, or endOfData when no image data follows.

        Addresses are 64-bit so that nothing wraps: the address after a record that
        reaches 0xFFFFFFFF is endOfData, and the byte at 0xFFFFFFFF is read like any
        other. Any address from endOfData on holds no data.

        Throws BinFileException when the stream stops delivering or will not move to
        the data asked for.
    */
    int readBlock (juce::uint64& address, juce::uint8* buffer, int maximumSize);

    /** The number of image bytes whose address lies from first to last inclusive. */
    juce::int64 countBytesInRange (juce::uint32 first, juce::uint32 last) const;

    /** What the user is shown for a file that ends too early, spelt as it always was. */
    static constexpr const char* unexpectedEndText = "Unexpected end of file encoutered";

    /** What the user is shown for a file that does not start with the image magic. */
    static constexpr const char* notAnImageText = "The file is not a firmware image";

    /** What the user is shown for a record that runs past the last address, 0xFFFFFFFF. */
    static constexpr const char* pastTheTopText = "The firmware image has a record past the end of the address space";

    /** What the user is shown for a file whose records claim the same address twice. */
    static constexpr const char* overlappingRecordsText = "The firmware image has overlapping records";

    /** False for a file that ends before its first record: it holds nothing to write. */
    bool hasRecords() const noexcept { return recordCount > 0; }

    /** True when every byte is 0xFF, as in erased flash (also for an empty block). */
    static bool isErasedBlock (const juce::uint8* buffer, int size);

private:
    void checkMagic();
    void indexRecords();
    void sortAndCheckRecords();
    ImageRecord recordAt (int index) const;
    void selectRecord (int index, juce::uint64 address);
    juce::uint64 bytesLeftInRecord() const;
    bool seekTo (juce::uint64& address);
    bool moveStreamTo (juce::int64 position);

    juce::InputStream& stream;
    juce::Array<ImageRecord> records;   // those with data, by ascending address, none overlapping
    juce::int64 recordCount = 0;        // all the file's records, empty ones included
    int currentRecord = 0;
    juce::uint64 currentAddress = 0;    // where the stream stands inside currentRecord

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareImage)
};
