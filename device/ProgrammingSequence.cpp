#include "device/ProgrammingSequence.h"

#include "device/BinFileException.h"
#include "device/CommInterruptedException.h"
#include "device/CommTargetException.h"
#include "device/DeviceCommand.h"
#include "device/DeviceModel.h"
#include "device/MidiTargetDevice.h"

namespace
{
    // The device's code for a write that failed but may succeed when sent again.
    constexpr juce::int32 commandFailed = 12;
    constexpr int writeBlockSends = 3;

    // Addresses of the low flash pages, prepared from the top down.
    constexpr juce::uint32 preparedPages[] = { 0x8000, 0x6000, 0x4000, 0x0000 };

    const char* const incompleteText = "Part of the firmware image inside the device's memory was not written";
    const char* const misfitText = "The firmware image does not fit the device's memory";
}

ProgrammingSequence::ProgrammingSequence (MidiTargetDevice& deviceToProgram,
                                          StatusReporter* status,
                                          ProgressReporter* progress)
    : device (deviceToProgram),
      statusReporter (status),
      progressReporter (progress)
{
}

void ProgrammingSequence::run (juce::InputStream& image)
{
    reportProgress (-1.0);
    reportStatus ("Initializing the device...");

    try
    {
        program (image);
    }
    catch (...)
    {
        finish();
        reportStatus ("Update failed");
        throw;
    }

    finish();
    reportStatus ("Update is complete");
}

void ProgrammingSequence::program (juce::InputStream& image)
{
    // A file that cannot be written is refused before the device is switched into update
    // mode and its flash prepared: found later, it would leave the device waiting there.
    FirmwareImage firmware (image);
    checkImage (firmware);

    openPorts();
    device.enterUpdateMode();
    reopenPortsIfNeeded();
    prepareWrite();
    readMemoryMap();

    blockBuffer.allocate ((size_t) memoryMap.blockSize, false);
    countTotal (firmware);

    // An image meant for other hardware: writing none of it is no update. The device
    // only tells its memory once in update mode, so it is left waiting there, its flash
    // as it was.
    if (total == 0)
        throw BinFileException (misfitText);

    // Once every byte is written nothing more is sent: a stop asked for then, while the
    // rest of the regions would only be walked, must not leave a finished update waiting.
    for (const auto& region : memoryMap.regions)
        if (written < total)
            writeRegion (region, firmware);

    // Every byte of the image inside the regions should have been dealt with; a walk that
    // fell short would leave the device with part of its firmware while the user reads
    // that the update is complete.
    if (written < total)
        throw BinFileException (incompleteText);
}

void ProgrammingSequence::checkImage (FirmwareImage& firmware)
{
    firmware.parse();

    // Writing nothing and calling it a success would tell the user the device is ready.
    if (! firmware.hasRecords())
        throw BinFileException (FirmwareImage::unexpectedEndText);
}

void ProgrammingSequence::openPorts()
{
    if (! device.openPorts())
        throw CommException();
}

void ProgrammingSequence::reopenPortsIfNeeded()
{
    if (! DeviceModel::needsPortsReopened (device.product))
        return;

    device.closePorts();
    openPorts();
}

void ProgrammingSequence::prepareWrite()
{
    pex::Super7TxSysexMsg message (device.getCurrentHeader (DeviceCommand::PrepareWrite));
    message.AppendByte (0x00);
    message.Complete();
    device.transact (message, DeviceCommand::Ack, device.getReplyTimeouts().prepareWrite);
}

void ProgrammingSequence::readMemoryMap()
{
    const auto reply = device.request (DeviceCommand::MemoryMapRequest,
                                       DeviceCommand::MemoryMapReply,
                                       device.getReplyTimeouts().memoryMap);
    memoryMap = MemoryMap::read (*reply);
}

void ProgrammingSequence::countTotal (const FirmwareImage& firmware)
{
    total = 0;
    written = 0;

    // An empty region holds nothing; its last address would wrap to the top of memory.
    for (const auto& region : memoryMap.regions)
        if (region.length > 0)
            total += firmware.countBytesInRange (region.start, region.getLast());
}

void ProgrammingSequence::prepareRegion()
{
    const juce::uint8 erased = 0xFF;

    for (const auto page : preparedPages)
    {
        prepareWrite();
        writeBlock (page, &erased, 1, 1);
    }
}

void ProgrammingSequence::writeRegion (const MemoryRegion& region, FirmwareImage& firmware)
{
    if (region.start == 0 && DeviceModel::needsRegionPreparation (device.product))
        prepareRegion();

    auto address = (juce::uint64) region.start;
    const auto end = region.getEnd();

    while (address < end && written < total)
    {
        CommInterruptedException::throwIfThreadShouldExit();

        // Cut at the region's end as well as the record's: the device listed no memory after it.
        const auto blockAddress = (juce::uint32) address;
        const auto maximumSize = (int) juce::jmin ((juce::uint64) memoryMap.blockSize, end - address);
        const auto size = firmware.readBlock (address, blockBuffer.get(), maximumSize);

        // Nothing read: address moved on to the next record, or past the region when none follows.
        if (size == 0)
            continue;

        // Erased flash needs no writing, but a region's first block is always sent.
        if (! (FirmwareImage::isErasedBlock (blockBuffer.get(), size) && blockAddress > region.start))
            writeBlock (blockAddress, blockBuffer.get(), size, writeBlockSends);

        blockDone (blockAddress, size);
    }
}

void ProgrammingSequence::writeBlock (juce::uint32 address, const juce::uint8* data, int size, int maximumSends)
{
    pex::Super7TxSysexMsg message (device.getCurrentHeader (DeviceCommand::WriteBlock));
    message.Reserve ((juce::uint32) size + 6);
    message.AppendDWord (address);
    message.AppendWord ((juce::uint16) size);
    message.Append (data, (juce::uint32) size);
    message.Complete();

    for (int send = 1;; ++send)
    {
        try
        {
            device.transact (message, DeviceCommand::Ack, device.getReplyTimeouts().writeBlock);
            return;
        }
        catch (const CommTargetException& e)
        {
            if (e.errorCode != commandFailed || send >= maximumSends)
                throw;
        }
    }
}

void ProgrammingSequence::blockDone (juce::uint32 address, int size)
{
    written += size;
    reportStatus ("Writing at address: 0x" + juce::String::toHexString (address).toUpperCase());

    // Every block lies inside a region, so total counts its bytes: the fraction stays
    // within 0 to 1.
    reportProgress ((double) written / (double) total);
}

void ProgrammingSequence::finish()
{
    device.closePorts();
    device.releasePendingReply();
}

void ProgrammingSequence::reportStatus (const juce::String& text)
{
    if (statusReporter != nullptr)
        statusReporter->reportStatus (text);
}

void ProgrammingSequence::reportProgress (double fraction)
{
    if (progressReporter != nullptr)
        progressReporter->reportProgress (fraction);
}
