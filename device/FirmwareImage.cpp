#include "device/FirmwareImage.h"
#include "device/BinFileException.h"

#include <limits>

namespace
{
    constexpr juce::int64 magicLength = 4;
    constexpr int recordHeaderLength = 8;

    // Shown to the user as it stands, beside FirmwareImage::unexpectedEndText.
    const char* const recordDataUnreachable = "Unexpected end of file encountered";
}

FirmwareImage::FirmwareImage (juce::InputStream& streamToRead)
    : stream (streamToRead)
{
}

void FirmwareImage::parse()
{
    records.clearQuick();

    if (! moveStreamTo (magicLength))
        throw BinFileException (unexpectedEndText);

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
        records.add (record);

        const auto nextRecord = record.dataOffset + record.length;

        if (nextRecord > totalLength || ! moveStreamTo (nextRecord))
            throw BinFileException (unexpectedEndText);
    }

    selectRecord (0);
}

int FirmwareImage::readBlock (juce::int32& address, juce::uint8* buffer, int maximumSize)
{
    // -1 marks the end of the data; taken as the address 0xFFFFFFFF it would read the
    // last record's end again and again.
    if (address == -1)
        return 0;

    const auto requested = (juce::uint32) address;

    if (requested != (juce::uint32) currentAddress || bytesLeftInRecord() <= 0)
    {
        if (! seekToAddress (requested))
        {
            address = seekToNextRecord (requested) ? currentAddress : -1;
            return 0;
        }
    }

    const auto wanted = (int) juce::jmin ((juce::int64) juce::jmax (0, maximumSize), bytesLeftInRecord());
    const auto delivered = wanted > 0 ? stream.read (buffer, wanted) : 0;

    // A stream that stops delivering would otherwise leave its reader asking for ever.
    if (wanted > 0 && delivered <= 0)
        throw BinFileException (unexpectedEndText);

    // A record that reaches the top of the 32-bit address space has no next address; wrapped
    // round to 0, the reader would take the file's next bytes as that record's data.
    const auto next = (juce::int64) requested + delivered;
    address = next > (juce::int64) std::numeric_limits<juce::uint32>::max() ? -1 : (juce::int32) (juce::uint32) next;
    currentAddress = address;
    return delivered;
}

juce::int64 FirmwareImage::countBytesInRange (juce::uint32 first, juce::uint32 last) const
{
    juce::int64 count = 0;

    for (const auto& record : records)
    {
        const juce::int64 recordFirst = record.address;
        const auto recordLast = record.getEnd() - 1;

        if ((first < recordFirst && last < recordFirst) || (first > recordLast && last > recordLast))
            continue;

        // An inverted range counts nothing rather than a negative number.
        count += juce::jmax ((juce::int64) 0,
                             juce::jmin ((juce::int64) last, recordLast) - juce::jmax ((juce::int64) first, recordFirst) + 1);
    }

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

void FirmwareImage::selectRecord (int index)
{
    const auto record = recordAt (index);

    if (! moveStreamTo (record.dataOffset))
        throw BinFileException (recordDataUnreachable);

    currentRecord = index;
    currentAddress = (juce::int32) record.address;
}

juce::int64 FirmwareImage::bytesLeftInRecord() const
{
    return recordAt (currentRecord).getEnd() - (juce::uint32) currentAddress;
}

bool FirmwareImage::seekToAddress (juce::uint32 address)
{
    for (int i = 0; i < records.size(); ++i)
    {
        const auto& record = records.getReference (i);

        if (record.contains (address))
        {
            selectRecord (i);
            currentAddress = (juce::int32) address;
            return moveStreamTo (stream.getPosition() + (address - record.address));
        }
    }

    return false;
}

bool FirmwareImage::seekToNextRecord (juce::uint32 address)
{
    if (recordAt (currentRecord).contains (address))
        return seekToAddress (address);

    // An address before the first record lies in the gap ahead of it.
    for (int i = 0; i < records.size(); ++i)
    {
        const auto gapStart = i == 0 ? (juce::int64) 0 : records.getReference (i - 1).getEnd();

        if (address >= gapStart && address < records.getReference (i).address)
        {
            selectRecord (i);
            return true;
        }
    }

    return false;
}

bool FirmwareImage::moveStreamTo (juce::int64 position)
{
    return position >= 0 && stream.setPosition (position) && stream.getPosition() == position;
}
