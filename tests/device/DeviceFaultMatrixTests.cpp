#include "device/DeviceCommand.h"
#include "device/MidiDeviceScanner.h"
#include "tests/device/ProgrammingTest.h"
#include "tests/device/ScriptedDeviceTest.h"

// Every device error code at every step of a run, and a message the device sends
// unasked between two exchanges: the cells of the device fault tables in
// docs/reliability.md that the wizard's own tests show for one code only.
namespace
{
    using CodeCase = std::tuple<juce::uint8, int>;

    // The device's reasons, as the user reads them.
    const char* const reasons[] = {
        "Command 0x%X is not implemented by the device",
        "Command 0x%X specified an invalid Parameter ID for the device",
        "Command 0x%X specified an invalid Effect Type ID for the device",
        "Command 0x%X specified an invalid Modifier Group ID for the device",
        "Command 0x%X specified an invalid Section ID for the device",
        "Command 0x%X specified an out-of-range index for the device",
        "Command 0x%X specified an invalid bank for the device",
        "Command 0x%X contained corrupt data",
        "Request command 0x%X specified an invalid size parameter",
        "Receive command 0x%X specified an invalid size parameter",
        "Command 0x%X caused a buffer overrun on the device",
        "The device could not execute command 0x%X in its current mode",
        "Command 0x%X failed",
        "Command 0x%X contained invalid data"
    };

    constexpr int unknownCode = 14;

    std::string rejection (juce::uint8 command, int code)
    {
        const auto hex = juce::String::toHexString (command).toUpperCase();
        const auto reason = code < unknownCode ? juce::String (reasons[code]).replace ("%X", hex) : juce::String();
        return ("target 0x" + hex + "/" + juce::String (code) + ": " + reason).toStdString();
    }

    std::string nameOf (const ::testing::TestParamInfo<CodeCase>& info)
    {
        return "Command" + juce::String::toHexString (std::get<0> (info.param)).toUpperCase().toStdString()
             + "Code" + std::to_string (std::get<1> (info.param));
    }

    class ErrorReplyDuringScan : public SimulatedTargetTest,
                                 public ::testing::WithParamInterface<CodeCase>
    {
    };

    class ErrorReplyDuringProgramming : public ProgrammingTest,
                                        public ::testing::WithParamInterface<CodeCase>
    {
    };

    class StrayMessage : public ScriptedDeviceTest
    {
    protected:
        // What no request asks for: a parameter change announced by the device.
        static devicetest::Bytes unasked()
        {
            return reply (0x20, { 0x01, 0x02 });
        }

        static devicetest::Bytes memoryMapOfThreeBlocks()
        {
            return reply (DeviceCommand::MemoryMapReply, { 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
                                                           0x00, 0x00, 0x03, 0x00 });
        }

        std::string programThreeBlocks()
        {
            const auto device = makeDevice (calvioProduct());
            const auto image = ImageFileBuilder().addRecord (0, 0x300).getFile();

            return devicetest::thrownBy ([&]
            {
                juce::MemoryInputStream stream (image, false);
                device->update (stream, nullptr, nullptr);
            });
        }

        static const devicetest::Bytes ack;
    };

    const devicetest::Bytes StrayMessage::ack = StrayMessage::reply (DeviceCommand::Ack, {});

    constexpr const char* unexpected = "host 2: An unexpected or invalid message was received";
}

//==============================================================================
TEST_P (ErrorReplyDuringScan, LeavesTheDeviceUnfound)
{
    auto config = pedalConfig();
    config.faults.push_back ({ SimulatedFault::Kind::errorReply, std::get<0> (GetParam()), 1, 1,
                               (juce::uint8) std::get<1> (GetParam()) });
    attach (config);
    juce::OwnedArray<TargetProduct> catalogue;
    catalogue.add (std::make_unique<TargetProduct> (productOf (config)));

    EXPECT_EQ (MidiDeviceScanner (ports, ReplyTimeouts {}).findDevices (catalogue), nullptr);
}

INSTANTIATE_TEST_SUITE_P (EveryCode, ErrorReplyDuringScan,
                          ::testing::Combine (::testing::Values (DeviceCommand::IdentityRequest, DeviceCommand::VersionRequest),
                                              ::testing::Range (0, unknownCode + 1)),
                          nameOf);

TEST_P (ErrorReplyDuringProgramming, FailsTheUpdateWithTheDevicesReason)
{
    const auto [command, code] = GetParam();
    auto config = configOfBlocks (3);
    config.faults.push_back ({ SimulatedFault::Kind::errorReply, command, 1, 1, (juce::uint8) code });
    attach (config);

    EXPECT_EQ (program (*unprobedDevice (config), imageOfBlocks (3)), rejection (command, code));
    EXPECT_EQ (reporter.getStatusTexts()[reporter.getStatusTexts().size() - 1], "Update failed");
    EXPECT_TRUE (portsWereOpenedOnceAndClosed());
}

// A write block refused with code 12 is sent again; that case has tests of its own.
INSTANTIATE_TEST_SUITE_P (EveryCode, ErrorReplyDuringProgramming,
                          ::testing::Combine (::testing::Values (DeviceCommand::EnterUpdateMode, DeviceCommand::PrepareWrite,
                                                                 DeviceCommand::MemoryMapRequest),
                                              ::testing::Range (0, unknownCode + 1)),
                          nameOf);

INSTANTIATE_TEST_SUITE_P (EveryCodeButTwelve, ErrorReplyDuringProgramming,
                          ::testing::Combine (::testing::Values (DeviceCommand::WriteBlock),
                                              ::testing::Values (0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 127)),
                          nameOf);

//==============================================================================
TEST_F (StrayMessage, BeforeTheIdentityRequestFailsTheProbeWithoutAskingAgain)
{
    const auto device = makeDevice (calvioProduct (0x12));
    ASSERT_TRUE (device->openPorts());
    endpoint.sendUnasked (unasked());

    // Asking again under the update product ID would have ended in silence instead.
    EXPECT_EQ (devicetest::thrownBy ([&] { device->identify(); }), unexpected);
}

TEST_F (StrayMessage, BeforeTheSwitchIntoUpdateModeIsTakenAsTheSwitch)
{
    const auto device = makeDevice (calvioProduct());
    ASSERT_TRUE (device->openPorts());
    endpoint.sendUnasked (unasked());

    EXPECT_EQ (devicetest::thrownBy ([&] { device->enterUpdateMode(); }), "");
    EXPECT_TRUE (device->isWaitingForUpdate());
}

TEST_F (StrayMessage, AfterThePrepareWriteAckFailsTheUpdateAtTheMemoryMapAtTheLatest)
{
    endpoint.thenAnswer ({ ack });
    endpoint.thenAnswer ({ ack, unasked() });

    EXPECT_EQ (programThreeBlocks(), unexpected);
    EXPECT_LE (endpoint.getReceived().size(), 3u);
}

TEST_F (StrayMessage, AfterABlockIsAcknowledgedFailsTheUpdateAtTheNextBlockAtTheLatest)
{
    endpoint.thenAnswer ({ ack });
    endpoint.thenAnswer ({ ack });
    endpoint.thenAnswer ({ memoryMapOfThreeBlocks() });
    endpoint.thenAnswer ({ ack, unasked() });

    EXPECT_EQ (programThreeBlocks(), unexpected);
    EXPECT_LE (endpoint.getReceived().size(), 5u);
}
