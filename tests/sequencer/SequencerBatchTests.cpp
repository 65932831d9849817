#include "demo/FlashCheck.h"
#include "flow/UpdateBatch.h"
#include "server/LoopbackServer.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/sequencer/SequencerRackTest.h"
#include "tests/support/ReportRecorder.h"

#include <gmock/gmock.h>

namespace
{
    using Link = SequencerDeviceRack::Link;

    const auto hallReverb = "Calvio Hall Reverb";
    const auto plateReverb = "Calvio Plate Reverb";

    bool flashHolds (const SimulatedDevice& device, const juce::MemoryBlock& image)
    {
        return FlashCheck::matches (image, device.getConfig().memoryMap.regions,
                                    [&device] (juce::uint32 address, juce::uint32 length)
                                    { return device.readFlash (address, length); });
    }

    // Runs the batch as the client's main thread does, until every update has ended.
    void run (UpdateBatch& batch)
    {
        batch.start();

        while (batch.serviceWorkers())
            batch.waitForWorkers (50);
    }
}

// The DIN interface hands on each reply of the Plate Reverb a few bytes at a time while
// the Hall Reverb answers on its own USB port about every millisecond: read through one
// assembler, as JUCE reads every ALSA input, their pieces would be joined into each
// other's replies if both devices were written at once.
TEST_F (SequencerRackTest, TwoDevicesOnPortsOfTheirOwnAreBothUpdatedThroughJucesAlsaCode)
{
    plugIn ({ { demoDevice (hallReverb), Link::usb }, { demoDevice (plateReverb), Link::din } });

    // The Hall Reverb's whole memory, so that it is still answering while the Plate
    // Reverb prepares its flash and tells its memory map; the Plate Reverb's few blocks
    // keep the test short once the two take turns.
    const auto hallImage = ImageFileBuilder().addRecord (0x0000, 0x2000).addRecord (0x4000, 0x1000).getFile();
    const auto plateImage = ImageFileBuilder().addRecord (0x0000, 0x300).addRecord (0x4000, 0x200).getFile();

    LoopbackServer server;
    server.setAnswer ("/hall.bin", LoopbackServer::Answer::withData (hallImage));
    server.setAnswer ("/plate.bin", LoopbackServer::Answer::withData (plateImage));

    TargetRevision hallRevision, plateRevision;
    hallRevision.version = "1.21";
    hallRevision.imageUrl = server.getUrl ("/hall.bin");
    plateRevision.version = "2.02";
    plateRevision.imageUrl = server.getUrl ("/plate.bin");

    const auto found = scan ({ { demoDevice (hallReverb), hallReverb }, { demoDevice (plateReverb), "USB2.0-MIDI" } }, {});
    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 2);

    ReportRecorder hallReports, plateReports;
    {
        UpdateBatch batch;
        batch.add (std::make_unique<UpdateFlow> (*(*found)[0], hallRevision, FileDownloader::Sources::webOnly),
                   { &hallReports, &hallReports });
        batch.add (std::make_unique<UpdateFlow> (*(*found)[1], plateRevision, FileDownloader::Sources::webOnly),
                   { &plateReports, &plateReports });
        run (batch);

        for (int device = 0; device < 2; ++device)
        {
            const auto& outcome = batch.getFlow (device).getOutcome();
            EXPECT_EQ (outcome.end, UpdateEnd::succeeded) << device << ": " << outcome.details << " " << outcome.notes.joinIntoString (" ");
        }
    }

    EXPECT_TRUE (flashHolds (*rack->findDevice (hallReverb), hallImage));
    EXPECT_TRUE (flashHolds (*rack->findDevice (plateReverb), plateImage));
    EXPECT_THAT (userPortsLeft(), ::testing::IsEmpty());
}
