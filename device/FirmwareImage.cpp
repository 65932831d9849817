#include "device/FirmwareImage.h"
#include "device/BinFileException.h"

#include <algorithm>
#include <iterator>

namespace
{
    constexpr juce::uint8 magic[] = { 0x00, 0x5C, 0x00, 0x05 };
    constexpr int magicLength = (int) sizeof (magic);
    constexpr int recordHeaderLength = 8;

    // Shown to the user as it stands, beside FirmwareImage::unexpectedEndText.
    const char* const recordDataUnreachable = "Unexpected end of file encountered";

    bool startsBefore (const ImageRecord& a, const ImageRecord& b)
    {
        return a.address < b.address;
    }
}

FirmwareImage::FirmwareImage (juce::InputStream& streamToRead)
    : stream (streamToRead)
{
}

void FirmwareImage::parse()
{
    indexRecords();
    sortAndCheckRecords();
    selectRecord (0, recordAt (0).address);
}

void FirmwareImage::checkMagic()
{
    juce::uint8 start[magicLength];

    if (! moveStreamTo (0) || stream.read (start, magicLength) != magicLength)
        throw BinFileException (unexpectedEndText);

    if (! std::equal (std::begin (magic), std::end (magic), start))
        throw BinFileException (notAnImageText);
}

void FirmwareImage::indexRecords()
{
    records.clearQuick();
    recordCount = 0;
    checkMagic();

    const auto totalLength = stream.getTotalLength();

    // Up to a record header's worth of trailing bytes is not a record.
    while (stream.getPosition() < totalLength - recordHeaderLength)
    {
        juce::uint8 header[recordHeaderLength];

        if (stream.read (header, recordHeaderLength) != recordHeaderLength)
            throw BinFileException (unexpectedEndText);

        ImageRecord record;
        record.address = juce::ByteOrder::bigEndianInt (header);
        record.length = juce::ByteOrder::bigEndianInt (header + 4);
        record.dataOffset = stream.getPosition();
        ++recordCount;

        // Past the top the device has no memory, and a wrapped address would land at 0.
        if (record.getEnd() > endOfData)
            throw BinFileException (pastTheTopText);

        if (record.length > 0)
            records.add (record);

        const auto nextRecord = record.dataOffset + record.length;

        if (nextRecord > totalLength || ! moveStreamTo (nextRecord))
            throw BinFileException (unexpectedEndText);
    }
}

void FirmwareImage::sortAndCheckRecords()
{
    if (! std::is_sorted (records.begin(), records.end(), startsBefore))
        std::sort (records.begin(), records.end(), startsBefore);

    // Sorted, a record overlaps another exactly when it starts inside the one before it.
    for (int i = 1; i < records.size(); ++i)
        if (records.getReference (i).address < records.getReference (i - 1).getEnd())
            throw BinFileException (overlappingRecordsText);
}

int FirmwareImage::readBlock (juce::uint64& address, juce::uint8* buffer, int maximumSize)
{
    if ((address != currentAddress || bytesLeftInRecord() == 0) && ! seekTo (address))
        return 0;

    const auto wanted = (int) juce::jmin ((juce::uint64) juce::jmax (0, maximumSize), bytesLeftInRecord());
    const auto delivered = wanted > 0 ? stream.read (buffer, wanted) : 0;

    // A stream that stops delivering would otherwise leave its reader asking for ever.
    if (wanted > 0 && delivered <= 0)
        throw BinFileException (unexpectedEndText);

    address += (juce::uint64) delivered;
    currentAddress = address;
    return delivered;
}

juce::int64 FirmwareImage::countBytesInRange (juce::uint32 first, juce::uint32 last) const
{
    if (first > last)
        return 0;

    // Sorted without overlap, the records' ends ascend as their starts do.
    auto record = std::partition_point (records.begin(), records.end(),
                                        [first] (const ImageRecord& r) { return r.getEnd() <= first; });
    juce::int64 count = 0;

    for (; record != records.end() && record->address <= last; ++record)
        count += (juce::int64) (juce::jmin ((juce::uint64) last + 1, record->getEnd())
                                - juce::jmax ((juce::uint64) first, (juce::uint64) record->address));

    return count;
}

bool FirmwareImage::isErasedBlock (const juce::uint8* buffer, int size)
{
    return std::all_of (buffer, buffer + juce::jmax (0, size), [] (juce::uint8 b) { return b == 0xFF; });
}

ImageRecord FirmwareImage::recordAt (int index) const
{
    // Past the last record stands an empty one.
    return juce::isPositiveAndBelow (index, records.size()) ? records.getReference (index) : ImageRecord();
}

void FirmwareImage::selectRecord (int index, juce::uint64 address)
{
    const auto record = recordAt (index);

    if (! moveStreamTo (record.dataOffset + (juce::int64) (address - record.address)))
        throw BinFileException (recordDataUnreachable);

    currentRecord = index;
    currentAddress = address;
}

juce::uint64 FirmwareImage::bytesLeftInRecord() const
{
    return recordAt (currentRecord).getEnd() - currentAddress;
}

bool FirmwareImage::seekTo (juce::uint64& address)
{
    // Only the last record that starts at or before address can hold it; the one after
    // it is the next after the gap.
    const auto next = std::upper_bound (records.begin(), records.end(), address,
                                        [] (juce::uint64 a, const ImageRecord& r) { return a < r.address; });
    const auto index = (int) (next - records.begin());

    if (index > 0 && records.getReference (index - 1).contains (address))
    {
        selectRecord (index - 1, address);
        return true;
    }

    if (index < records.size())
    {
        // Positioned now, so that reading from the record's start needs no move.
        selectRecord (index, next->address);
        address = next->address;
    }
    else
    {
        address = endOfData;
    }

    return false;
}

bool FirmwareImage::moveStreamTo (juce::int64 position)
{
    return position >= 0 && stream.setPosition (position) && stream.getPosition() == position;
}
