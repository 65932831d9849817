#include "bench/BatchRig.h"

#include "flow/UpdateBatch.h"

BatchRig::BatchRig (int numDevices, juce::uint32 imageSizeToUse, ProgrammingSetUp::Link link, ProgrammingRig::FarSide farSide,
                    ImageSource source)
    : imageSize (imageSizeToUse)
{
    const auto image = ProgrammingSetUp::imageOf (imageSize);
    revision.version = "2.0";

    if (source == ImageSource::localFile && imageFile.getFile().replaceWithData (image.getData(), image.getSize()))
    {
        revision.imageUrl = imageFile.getFile().getFullPathName();
        imageSources = FileDownloader::Sources::webAndLocalFiles;
    }
    else
    {
        server.setAnswer ("/image.bin", LoopbackServer::Answer::withData (image));
        revision.imageUrl = server.getUrl ("/image.bin");
    }

    for (int i = 0; i < numDevices; ++i)
    {
        auto config = ProgrammingSetUp::deviceFor (imageSize, link);
        config.portName = "Pedal " + juce::String (i + 1);

        if (farSide == ProgrammingRig::FarSide::simulatedDevice)
            simulated.push_back (std::make_unique<SimulatedDevice> (ports, config));
        else
            transcriptFree.push_back (std::make_unique<TranscriptFreeDevice> (ports, config));

        hosts.push_back (std::make_unique<MidiTargetDevice> (ProgrammingSetUp::productOf (config), ports, ReplyTimeouts {}));
        hosts.back()->setPortIndices (ports.addInput (config.portName), ports.addOutput (config.portName));
    }
}

bool BatchRig::update (const std::vector<int>& devices)
{
    UpdateBatch batch;

    for (auto device : devices)
        batch.add (std::make_unique<UpdateFlow> (*hosts[(size_t) device], revision, imageSources), {});

    batch.start();

    while (batch.serviceWorkers())
        batch.waitForWorkers (100);

    for (int i = 0; i < batch.size(); ++i)
        if (batch.getFlow (i).getOutcome().end != UpdateEnd::succeeded)
            return false;

    return true;
}

bool BatchRig::everyFlashHoldsImage() const
{
    for (int device = 0; device < getNumDevices(); ++device)
    {
        const auto flash = readFlash (device);

        if (flash.size() != imageSize)
            return false;

        for (juce::uint32 address = 0; address < imageSize; ++address)
            if (flash[address] != ProgrammingSetUp::imageByteAt (address))
                return false;
    }

    return true;
}

int BatchRig::getNumDevices() const noexcept
{
    return (int) hosts.size();
}

juce::uint32 BatchRig::getImageSize() const noexcept
{
    return imageSize;
}

std::vector<juce::uint8> BatchRig::readFlash (int device) const
{
    return simulated.empty() ? transcriptFree[(size_t) device]->readFlash (0, imageSize)
                             : simulated[(size_t) device]->readFlash (0, imageSize);
}
