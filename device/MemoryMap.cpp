#include "device/MemoryMap.h"

#include "device/CommHostException.h"

MemoryMap MemoryMap::read (pex::Super7RxSysexMsg& reply)
{
    MemoryMap map;
    reply.ReadByte();
    map.blockSize = reply.ReadWord();
    const auto regionCount = reply.ReadByte();

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
