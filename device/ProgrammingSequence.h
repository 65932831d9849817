#pragma once

#include "device/FirmwareImage.h"
#include "device/MemoryMap.h"
#include "handover/ProgressReporter.h"
#include "handover/StatusReporter.h"

class MidiTargetDevice;

/** Writes one firmware image into a MidiTargetDevice: checks the whole image, switches
    the device into update mode, asks for its memory map, then writes the image block by
    block, region by region, each block acknowledged before the next is read. An image
    that fails its check reaches no device: the ports are not even opened.

    A block ends where its record or its region ends, whichever comes first, so nothing
    is sent to memory the device did not list. Addresses are walked in 64 bits: a
    region may lie anywhere in the 32-bit space, up to and including 0xFFFFFFFF.

    Runs on the worker that drives the device. When the worker is told to exit, it
    stops at the next block or reply wait with CommInterruptedException.
*/
class ProgrammingSequence
{
public:
    /** status and progress may be null. */
    ProgrammingSequence (MidiTargetDevice& deviceToProgram, StatusReporter* status, ProgressReporter* progress);

    /** Programs image into the device; rethrows, after closing the ports and reporting
        "Update failed", whatever exception ended it. A damaged image fails the update with
        BinFileException before anything is sent, an image with no byte inside the
        device's regions fails it before anything is written, and image data inside the
        regions that was not written fails it rather than completing it.
    */
    void run (juce::InputStream& image);

private:
    void program (juce::InputStream& image);
    static void checkImage (FirmwareImage& firmware);
    void openPorts();
    void reopenPortsIfNeeded();
    void prepareWrite();
    void readMemoryMap();
    void countTotal (const FirmwareImage& firmware);
    void prepareRegion();
    void writeRegion (const MemoryRegion& region, FirmwareImage& firmware);
    void writeBlock (juce::uint32 address, const juce::uint8* data, int size, int maximumSends);
    void blockDone (juce::uint32 address, int size);
    void finish();

    void reportStatus (const juce::String& text);
    void reportProgress (double fraction);

    MidiTargetDevice& device;
    StatusReporter* const statusReporter;
    ProgressReporter* const progressReporter;

    MemoryMap memoryMap;
    juce::HeapBlock<juce::uint8> blockBuffer;
    juce::int64 total = 0;
    juce::int64 written = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgrammingSequence)
};
