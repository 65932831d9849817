#include "device/MemoryMap.h"

#include "device/CommHostException.h"

namespace
{
    // A byte not used, the block size and the region count.
    constexpr juce::uint32 countsLength = 4;
    constexpr juce::uint32 regionLength = 8;
}

MemoryMap MemoryMap::read (pex::Super7RxSysexMsg& reply)
{
    MemoryMap map;
    reply.ReadByte();
    map.blockSize = reply.ReadWord();
    const auto regionCount = reply.ReadByte();

    // Missing bytes would read as regions at 0 of length 0, or cut a region short:
    // memory the device never listed would be prepared and written.
    if (reply.GetLength() < countsLength + regionLength * regionCount)
        throw CommHostException (CommHostException::UnexpectedReply);

    for (int i = 0; i < regionCount; ++i)
    {
        MemoryRegion region;
        region.start = reply.ReadDWord();
        region.length = reply.ReadDWord();
        map.regions.add (region);
    }

    if (map.blockSize == 0)
        throw CommHostException (CommHostException::UnexpectedReply);

    return map;
}
