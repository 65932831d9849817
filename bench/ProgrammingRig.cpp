#include "bench/ProgrammingRig.h"

#include "bench/ProgrammingSetUp.h"

ProgrammingRig::ProgrammingRig (juce::uint32 imageSizeToUse, FarSide farSide, ProgrammingSetUp::Link linkToUse,
                                Ports portsToUse)
    : link (linkToUse),
      imageSize (imageSizeToUse),
      config (ProgrammingSetUp::deviceFor (imageSizeToUse, linkToUse)),
      sequencer (portsToUse == Ports::alsaSequencer ? std::make_unique<SequencerPorts> (config) : nullptr),
      device (ProgrammingSetUp::productOf (config), sequencer != nullptr ? sequencer->getPorts() : ports, ReplyTimeouts {}),
      image (ProgrammingSetUp::imageOf (imageSizeToUse))
{
    jassert (sequencer == nullptr || farSide == FarSide::simulatedDevice);

    if (sequencer != nullptr)
    {
        int input = -1, output = -1;
        connected = sequencer->findPorts (input, output);
        device.setPortIndices (input, output);
        return;
    }

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

bool ProgrammingRig::isConnected() const noexcept
{
    return connected;
}

size_t ProgrammingRig::getBytesOnTheWire() const
{
    const auto* far = getSimulatedDevice();
    return far != nullptr ? ProgrammingSetUp::bytesOnTheWire (far->getTranscript()) : 0;
}

double ProgrammingRig::getLinkFloorSeconds() const
{
    const auto* far = getSimulatedDevice();
    return far != nullptr ? ProgrammingSetUp::linkFloorSeconds (far->getTranscript(), link) : 0.0;
}

const SimulatedDevice* ProgrammingRig::getSimulatedDevice() const
{
    return sequencer != nullptr ? &sequencer->getDevice() : simulated.get();
}
