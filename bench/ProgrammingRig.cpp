#include "bench/ProgrammingRig.h"

#include "bench/ProgrammingSetUp.h"

ProgrammingRig::ProgrammingRig (juce::uint32 imageSizeToUse, double linkBytesPerSecond)
    : simulated (ports, ProgrammingSetUp::deviceFor (imageSizeToUse, linkBytesPerSecond)),
      device (ProgrammingSetUp::productOf (simulated.getConfig()), ports),
      image (ProgrammingSetUp::imageOf (imageSizeToUse)),
      imageSize (imageSizeToUse)
{
    ports.addInput ("Pedal");
    ports.addOutput ("Pedal");
    device.setPortIndices (0, 0);
}

bool ProgrammingRig::programOnce (StatusReporter* status, ProgressReporter* progress)
{
    juce::MemoryInputStream stream (image, false);

    try
    {
        device.update (stream, status, progress);
        return true;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

juce::int64 ProgrammingRig::getNumBlocks() const noexcept
{
    return (imageSize + ProgrammingSetUp::blockSize - 1) / ProgrammingSetUp::blockSize;
}
