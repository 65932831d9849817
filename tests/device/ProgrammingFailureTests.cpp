#include "device/DeviceCommand.h"
#include "tests/device/DeviceWorker.h"
#include "tests/device/FlakyPortSystem.h"
#include "tests/device/ProgrammingTest.h"
#include "tests/device/ShortReplyTimeouts.h"

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

TEST_F (ProgrammingFailure, ImageShorterThanItsRecordsFailsWithTheImageError)
{
    const auto config = configOfBlocks (3);
    const auto& pedal = attach (config);
    auto image = imageOfBlocks (3);
    image.setSize (image.getSize() - 10);

    EXPECT_EQ (program (*unprobedDevice (config), image), "image: Unexpected end of file encoutered");

    EXPECT_TRUE (writesHeardBy (pedal).empty());
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
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

TEST_F (ProgrammingFailure, ImageThatEndsBeforeItsFirstRecordFailsWithTheImageErrorInsteadOfWritingNothing)
{
    const auto config = configOfBlocks (3);
    const auto& pedal = attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), ImageFileBuilder().getFile()), "image: Unexpected end of file encoutered");

    EXPECT_TRUE (writesHeardBy (pedal).empty());
    EXPECT_TRUE (endedWithUpdateFailed());
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}
