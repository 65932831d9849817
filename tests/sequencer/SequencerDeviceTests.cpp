#include "demo/FlashCheck.h"
#include "device/MidiDeviceScanner.h"
#include "sim/SimulatedCommand.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/sequencer/SequencerListener.h"
#include "tests/sequencer/SequencerRackTest.h"
#include "tests/support/ReportRecorder.h"
#include "tests/support/UserTexts.h"
#include "flow/UpdateThread.h"

#include <gmock/gmock.h>

namespace
{
    using Link = SequencerDeviceRack::Link;

    constexpr int workerBoundMs = 30'000;   // never reached in a passing run

    const auto hallReverb = "Calvio Hall Reverb";
    const auto chorus = "Brisma Chorus";

    // Inside the reverbs' regions 0x0000-0x1FFF and 0x4000-0x4FFF: five blocks.
    juce::MemoryBlock smallReverbImage()
    {
        return ImageFileBuilder().addRecord (0x0000, 0x300).addRecord (0x4000, 0x200).getFile();
    }

    std::vector<std::string> namesOf (const juce::StringArray& names)
    {
        std::vector<std::string> result;

        for (const auto& name : names)
            result.push_back (name.toStdString());

        return result;
    }

    bool flashHolds (const SimulatedDevice& device, const juce::MemoryBlock& image)
    {
        return FlashCheck::matches (image, device.getConfig().memoryMap.regions,
                                    [&device] (juce::uint32 address, juce::uint32 length)
                                    { return device.readFlash (address, length); });
    }

    struct Programming
    {
        UpdateThread::UpdateStatus status;
        juce::String error;
    };

    Programming program (TargetDevice& device, const juce::MemoryBlock& image)
    {
        ReportRecorder reporter;
        juce::MemoryInputStream stream (image, false);
        UpdateThread worker (device, stream, nullptr, &reporter, &reporter);
        worker.startThread();
        EXPECT_TRUE (worker.waitForThreadToExit (workerBoundMs));
        return { worker.getStatus(), worker.getErrorMessage() };
    }

    struct LinkCase
    {
        const char* name;
        Link link;
        const char* cataloguePort;  // what a vendor would put in <Port Name>
        const char* portListed;
    };

    void PrintTo (const LinkCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    const LinkCase links[] {
        { "Usb", Link::usb, "Calvio Hall Reverb", "Calvio Hall Reverb MIDI 1" },
        { "DinBehindAnInterface", Link::din, "USB2.0-MIDI", "USB2.0-MIDI MIDI 1" }
    };

    class SequencerDeviceLinks : public SequencerRackTest,
                                 public ::testing::WithParamInterface<LinkCase> {};
}

TEST_F (SequencerRackTest, ScanListsUsbDevicesAndInterfaceCablesAsLinuxNamesThemAndFindsTheDevicesBehind)
{
    plugIn ({ { demoDevice (hallReverb), Link::usb }, { demoDevice (chorus), Link::din } });

    const std::vector<std::string> expectedPorts { "Calvio Hall Reverb MIDI 1", "USB2.0-MIDI MIDI 1", "USB2.0-MIDI MIDI 2" };
    EXPECT_THAT (namesOf (ports.getInputNames()), ::testing::IsSupersetOf (expectedPorts));
    EXPECT_THAT (namesOf (ports.getOutputNames()), ::testing::IsSupersetOf (expectedPorts));
    EXPECT_GE (clientNamed ("Calvio Hall Reverb"), 0);
    EXPECT_GE (clientNamed ("USB2.0-MIDI"), 0);

    // The catalogue names the USB device by its own name, the DIN one by the interface's.
    const auto found = scan ({ { demoDevice (hallReverb), "Calvio Hall Reverb" }, { demoDevice (chorus), "USB2.0-MIDI" } },
                             devicetest::shortReplyTimeouts());

    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 2);
    EXPECT_EQ ((*found)[0]->getDeviceName(), "Studio Hall");
    EXPECT_EQ ((*found)[0]->getVersion(), "1.1");
    EXPECT_EQ ((*found)[1]->getDeviceName(), "Pedalboard");
    EXPECT_EQ ((*found)[1]->getVersion(), "2.3");
    EXPECT_THAT (userPortsLeft(), ::testing::IsEmpty());
}

TEST_P (SequencerDeviceLinks, AWholeProgrammingThroughJucesAlsaCodeLeavesTheImageInFlash)
{
    plugIn ({ { demoDevice (hallReverb), GetParam().link } });
    const auto image = smallReverbImage();

    EXPECT_THAT (namesOf (ports.getOutputNames()), ::testing::Contains (GetParam().portListed));
    const auto found = scan ({ { demoDevice (hallReverb), GetParam().cataloguePort } }, {});
    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 1);

    const auto outcome = program (*(*found)[0], image);

    EXPECT_EQ (outcome.status, UpdateThread::UpdateOk) << outcome.error;
    EXPECT_TRUE (flashHolds (*rack->findDevice (hallReverb), image));
    EXPECT_THAT (userPortsLeft(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P (SequencerDevices, SequencerDeviceLinks, ::testing::ValuesIn (links),
                          [] (const auto& info) { return std::string (info.param.name); });

TEST_F (SequencerRackTest, ALongReplyLeavesTheDevicePortIn256BytePiecesAndReachesUsWhole)
{
    auto longNamed = demoDevice (hallReverb);
    longNamed.name = juce::String::repeatedString ("Hall", 250);
    plugIn ({ { longNamed, Link::usb } });

    SequencerListener listener;
    ASSERT_TRUE (listener.listenTo (clientNamed (hallReverb), 0));

    const auto found = scan ({ { longNamed, hallReverb } }, {});
    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 1);
    EXPECT_EQ ((*found)[0]->getDeviceName(), longNamed.name);

    const auto sent = rack->findDevice (hallReverb)->getTranscript().getMessages (SimulatedTranscript::Direction::toHost);
    const auto pieces = listener.sysexPiecesOfOneMessage (workerBoundMs);
    ASSERT_FALSE (sent.empty());
    const auto& reply = sent.front();
    ASSERT_GT (reply.size(), 4 * 256u);

    std::vector<size_t> sizes;
    SequencerListener::Bytes joined;

    for (const auto& piece : pieces)
    {
        sizes.push_back (piece.size());
        joined.insert (joined.end(), piece.begin(), piece.end());
    }

    std::vector<size_t> expectedSizes ((reply.size() + 255) / 256, 256);
    expectedSizes.back() = reply.size() - 256 * (expectedSizes.size() - 1);
    EXPECT_EQ (sizes, expectedSizes);
    EXPECT_EQ (joined, reply);
}

TEST_F (SequencerRackTest, ADeviceUnpluggedWhileProgrammedEndsTheUpdateAsSilentAndOurPortsClose)
{
    auto vanishing = demoDevice (hallReverb);
    SimulatedFault unplug;
    unplug.kind = SimulatedFault::Kind::vanishAfterReply;
    unplug.command = SimulatedCommand::writeBlock;
    unplug.first = 2;
    vanishing.faults.push_back (unplug);
    plugIn ({ { vanishing, Link::usb } });

    const auto timeouts = devicetest::shortReplyTimeouts();
    const auto found = scan ({ { vanishing, hallReverb } }, timeouts);
    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 1);

    const auto outcome = program (*(*found)[0], smallReverbImage());

    EXPECT_EQ (outcome.status, UpdateThread::UpdateCommError);
    EXPECT_EQ (outcome.error, UserTexts::noResponse);
    EXPECT_TRUE (rack->findDevice (hallReverb)->waitUntilVanished (0));
    EXPECT_EQ (clientNamed (hallReverb), -1);
    EXPECT_THAT (userPortsLeft(), ::testing::IsEmpty());
    EXPECT_THAT (namesOf (ports.getOutputNames()), ::testing::Not (::testing::Contains ("Calvio Hall Reverb MIDI 1")));
}
