#pragma once

#include "device/MemoryRegion.h"
#include "device/sysex/Super7RxSysexMsg.h"

/** How a device in update mode wants its firmware: the regions to write, in the order
    to write them, and the most data bytes one write may carry.

    A copyable value.
*/
struct MemoryMap
{
    int blockSize = 0;
    juce::Array<MemoryRegion> regions;

    /** Reads the map from the payload of a memory map reply. Throws CommHostException
        (UnexpectedReply) for a reply shorter than its own counts say, and for a block
        size of 0, with which no write could move on.
    */
    static MemoryMap read (pex::Super7RxSysexMsg& reply);
};
