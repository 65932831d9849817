#pragma once

#include "bench/ProgrammingRig.h"
#include "bench/ProgrammingSetUp.h"
#include "bench/TranscriptFreeDevice.h"
#include "catalogue/FileDownloader.h"
#include "device/MidiTargetDevice.h"
#include "server/LoopbackServer.h"
#include "sim/SimulatedDevice.h"

#include <vector>

/** Several devices, each on a port pair of its own, and a loopback server that serves
    their image (ProgrammingSetUp's), for updates run through UpdateBatch: the image is
    downloaded for each device and written into it, as the client does. Made and used
    on one thread, the batch's message thread; the devices answer on their own.
*/
class BatchRig
{
public:
    /** Where each device's flow reads the image from. */
    enum class ImageSource
    {
        loopbackServer,     // HTTP from a server in this process, as from the vendor's
        localFile           // a file on this computer, as from a catalogue beside the program
    };

    BatchRig (int numDevices, juce::uint32 imageSize, ProgrammingSetUp::Link link, ProgrammingRig::FarSide farSide,
              ImageSource source = ImageSource::loopbackServer);

    /** Updates the devices given by index in one batch, on the calling thread; false
        unless every update succeeded.
    */
    bool update (const std::vector<int>& devices);

    /** Whether every device's flash holds the image. */
    bool everyFlashHoldsImage() const;

    int getNumDevices() const noexcept;
    juce::uint32 getImageSize() const noexcept;

private:
    std::vector<juce::uint8> readFlash (int device) const;

    const juce::uint32 imageSize;
    VirtualMidiPortSystem ports;
    LoopbackServer server;
    const juce::TemporaryFile imageFile { ".bin" };
    TargetRevision revision;
    FileDownloader::Sources imageSources = FileDownloader::Sources::webOnly;
    std::vector<std::unique_ptr<SimulatedDevice>> simulated;
    std::vector<std::unique_ptr<TranscriptFreeDevice>> transcriptFree;
    std::vector<std::unique_ptr<MidiTargetDevice>> hosts;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BatchRig)
};
