#include "bench/ProgrammingRig.h"

#include "bench/ProgrammingSetUp.h"

ProgrammingRig::ProgrammingRig (juce::uint32 imageSizeToUse, FarSide farSide, ProgrammingSetUp::Link linkToUse)
    : link (linkToUse),
      imageSize (imageSizeToUse),
      config (ProgrammingSetUp::deviceFor (imageSizeToUse, linkToUse)),
      device (ProgrammingSetUp::productOf (config), ports, ReplyTimeouts {}),
      image (ProgrammingSetUp::imageOf (imageSizeToUse))
{
    if (farSide == FarSide::simulatedDevice)
        simulated = std::make_unique<SimulatedDevice> (ports, config);
    else
        transcriptFree = std::make_unique<TranscriptFreeDevice> (ports, config);

    ports.addInput (config.portName);
    ports.addOutput (config.portName);
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

MidiTargetDevice& ProgrammingRig::getDevice() noexcept
{
    return device;
}

const juce::MemoryBlock& ProgrammingRig::getImage() const noexcept
{
    return image;
}

juce::int64 ProgrammingRig::getNumBlocks() const noexcept
{
    return (imageSize + ProgrammingSetUp::blockSize - 1) / ProgrammingSetUp::blockSize;
}

size_t ProgrammingRig::getBytesOnTheWire() const
{
    return simulated != nullptr ? ProgrammingSetUp::bytesOnTheWire (simulated->getTranscript()) : 0;
}

double ProgrammingRig::getLinkFloorSeconds() const
{
    return simulated != nullptr ? ProgrammingSetUp::linkFloorSeconds (simulated->getTranscript(), link) : 0.0;
}
