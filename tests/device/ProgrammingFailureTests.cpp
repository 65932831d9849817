#include "device/DeviceCommand.h"
#include "device/MidiDeviceScanner.h"
#include "tests/device/DeviceWorker.h"
#include "tests/device/FlakyPortSystem.h"
#include "tests/device/ProgrammingTest.h"
#include "tests/device/ShortReplyTimeouts.h"

namespace
{
    struct BadImage
    {
        const char* name;
        juce::MemoryBlock file;
        std::string outcome;
    };

    std::ostream& operator<< (std::ostream& out, const BadImage& image)
    {
        return out << image.name;
    }

    juce::MemoryBlock withoutItsLast (juce::MemoryBlock file, size_t count)
    {
        file.setSize (file.getSize() - count);
        return file;
    }

    juce::MemoryBlock withByte (juce::MemoryBlock file, size_t index, juce::uint8 value)
    {
        file[index] = (char) value;
        return file;
    }

    const auto threeBlocks = ImageFileBuilder().addRecord (0x0000, 0x300).getFile();

    // clang-format off
    const BadImage badImages[] = {
        { "NotStartingWithTheMagic",      withByte (threeBlocks, 1, 0x5D),   "image: The file is not a firmware image" },
        { "ShorterThanItsMagic",          withoutItsLast (threeBlocks, threeBlocks.getSize() - 2),
                                                                             "image: Unexpected end of file encoutered" },
        { "EndingInsideItsFirstHeader",   ImageFileBuilder().addRawBytes ({ 0x00, 0x00, 0x10, 0x00, 0x00 }).getFile(),
                                                                             "image: Unexpected end of file encoutered" },
        { "ShorterThanItsRecords",        withoutItsLast (threeBlocks, 10),  "image: Unexpected end of file encoutered" },
        { "RecordRunningPastTheTop",      ImageFileBuilder().addRecord (0x0000, 0x100).addRecord (0xFFFFFF00, 0x101).getFile(),
                                                                             "image: The firmware image has a record past the end of the address space" },
        { "EndingBeforeItsFirstRecord",   ImageFileBuilder().getFile(),      "image: Unexpected end of file encoutered" },
        { "OverlappingRecords",           ImageFileBuilder().addRecord (0x0000, 0x100).addRecord (0x00FF, 0x10).getFile(),
                                                                             "image: The firmware image has overlapping records" },
    };
    // clang-format on
}

class ProgrammingFailure : public ProgrammingTest
{
protected:
    /** Programs three blocks into the pedal with fault planned; what it threw. */
    std::string programWith (SimulatedFault fault)
    {
        auto config = configOfBlocks (3);
        config.faults.push_back (fault);
        attach (config);
        return program (*unprobedDevice (config, devicetest::shortReplyTimeouts()), imageOfBlocks (3));
    }

    bool endedWithUpdateFailed() const
    {
        const auto texts = reporter.getStatusTexts();
        return texts.size() >= 2 && texts[0] == "Initializing the device..." && texts[texts.size() - 1] == "Update failed";
    }
};

TEST_F (ProgrammingFailure, PortsThatDoNotOpenFailWithThePlainCommunicationError)
{
    const auto config = configOfBlocks (3);
    const auto& pedal = attach (config);
    ports.setInputFailsToOpen (0, true);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (3)),
               "comm: An unspecified communication error has occured");

    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ "Initializing the device...", "Update failed" }));
    EXPECT_TRUE (heardBy (pedal).empty());
}

TEST_F (ProgrammingFailure, PortsThatDoNotReopenFailLikewiseAndAreLeftClosed)
{
    const auto config = reopeningBrismaConfig();
    attach (config);
    FlakyPortSystem flakyPorts (ports);
    flakyPorts.failInputsAfter (1);
    MidiTargetDevice device (productOf (config), flakyPorts, ReplyTimeouts {});
    device.setPortIndices (0, 0);

    EXPECT_EQ (program (device, imageOfBlocks (1)),
               "comm: An unspecified communication error has occured");

    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (ProgrammingFailure, SilenceAfterTheSwitchIsNoResponse)
{
    EXPECT_EQ (programWith ({ SimulatedFault::Kind::noReply, DeviceCommand::PrepareWrite }),
               "host 0: No reponse was received from the device");
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (ProgrammingFailure, CorruptMemoryMapIsACorruptReply)
{
    EXPECT_EQ (programWith ({ SimulatedFault::Kind::badChecksum, DeviceCommand::MemoryMapRequest }),
               "host 1: The device returned corrupt data");
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (ProgrammingFailure, ReplyOfTheWrongKindIsAnUnexpectedReply)
{
    EXPECT_EQ (programWith ({ SimulatedFault::Kind::wrongKind, DeviceCommand::MemoryMapRequest }),
               "host 2: An unexpected or invalid message was received");
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (ProgrammingFailure, ReplyTooShortForItsPrefixIsAnUnexpectedReply)
{
    EXPECT_EQ (programWith ({ SimulatedFault::Kind::tooShort, DeviceCommand::WriteBlock, 2 }),
               "host 2: An unexpected or invalid message was received");
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (ProgrammingFailure, RejectedSwitchIntoUpdateModeFailsTheUpdate)
{
    EXPECT_EQ (programWith ({ SimulatedFault::Kind::errorReply, DeviceCommand::EnterUpdateMode, 1, 1, 11 }),
               "target 0x71/11: The device could not execute command 0x71 in its current mode");
    EXPECT_TRUE (endedWithUpdateFailed());
}

TEST_F (ProgrammingFailure, UnusableAnswerToTheSwitchIsTakenAsTheSwitch)
{
    EXPECT_EQ (programWith ({ SimulatedFault::Kind::wrongKind, DeviceCommand::EnterUpdateMode }), "");
    EXPECT_EQ (reporter.getStatusTexts()[reporter.getStatusTexts().size() - 1], "Update is complete");
}

TEST_F (ProgrammingFailure, BlockSizeOfZeroIsAnUnexpectedReply)
{
    auto config = configOfBlocks (3);
    config.memoryMap.blockSize = 0;
    attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (3)),
               "host 2: An unexpected or invalid message was received");
    EXPECT_TRUE (endedWithUpdateFailed());
}

TEST_F (ProgrammingFailure, WorkerToldToExitStopsBeforeItsNextBlock)
{
    const auto config = configOfBlocks (3);
    const auto& pedal = attach (config);
    reporter.onStatus = [] (const juce::String& text)
    {
        if (text.startsWith ("Writing at address"))
            juce::Thread::getCurrentThread()->signalThreadShouldExit();
    };
    const auto device = unprobedDevice (config);
    std::string outcome;

    DeviceWorker worker ([&] { outcome = program (*device, imageOfBlocks (3)); });
    worker.startThread();
    ASSERT_TRUE (worker.waitUntilDone());

    EXPECT_EQ (outcome, "interrupted: The update was interrupted");
    EXPECT_EQ (writesHeardBy (pedal), std::vector<juce::uint32> { 0x000 });
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

TEST_F (ProgrammingFailure, WorkerWaitingForAVanishedDeviceStopsWhenToldToExit)
{
    auto config = configOfBlocks (3);
    config.faults.push_back ({ SimulatedFault::Kind::vanishAfterReply, DeviceCommand::WriteBlock });
    const auto& pedal = attach (config);
    const auto device = unprobedDevice (config);
    std::string outcome;

    DeviceWorker worker ([&] { outcome = program (*device, imageOfBlocks (3)); });
    worker.startThread();
    ASSERT_TRUE (pedal.waitUntilVanished (5000));
    ASSERT_TRUE (observer.waitForReceived (5));
    worker.signalThreadShouldExit();
    ASSERT_TRUE (worker.waitUntilDone());

    EXPECT_EQ (outcome, "interrupted: The update was interrupted");
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

class ProgrammingBadImage : public ProgrammingFailure,
                            public ::testing::WithParamInterface<BadImage>
{
};

// A damaged image found only after the switch would leave the device waiting in update
// mode with its flash prepared: nothing may reach it between one scan and the next.
TEST_P (ProgrammingBadImage, FailsWithTheImagesTextAndSendsNothing)
{
    const auto config = configOfBlocks (3);
    const auto& pedal = attach (config);
    const auto device = probedDevice (config);
    const auto scan = heardBy (pedal);

    EXPECT_EQ (program (*device, GetParam().file), GetParam().outcome);
    EXPECT_EQ (reporter.getStatusTexts(), juce::StringArray ({ "Initializing the device...", "Update failed" }));

    // The second scan's replies come after anything the update could have sent.
    ASSERT_TRUE (MidiDeviceScanner::probe (*device, 0, 0));
    auto twoScans = scan;
    twoScans.insert (twoScans.end(), scan.begin(), scan.end());
    EXPECT_EQ (heardBy (pedal), twoScans);
    EXPECT_FALSE (pedal.isInUpdateMode());
}

INSTANTIATE_TEST_SUITE_P (Kinds, ProgrammingBadImage, ::testing::ValuesIn (badImages),
                          [] (const ::testing::TestParamInfo<BadImage>& image) { return std::string (image.param.name); });
