#include <gtest/gtest.h>

#include "device/DeviceCommand.h"
#include "tests/device/ImageFileBuilder.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/support/UserTexts.h"
#include "tests/support/WizardDriver.h"
#include "tests/wizard/WizardWorld.h"

// What the user is shown when the device misbehaves at each step of a run: the rows of
// the device fault tables in docs/reliability.md.
namespace
{
    using Kind = SimulatedFault::Kind;

    constexpr auto noDevicesBody = UserTexts::noDevicesBody;

    struct DeviceFaultCase
    {
        const char* name;
        SimulatedFault fault;
        const char* caption;
        const char* body;

        // Set where the fault is to strike between the scan and the update: the device
        // leaves once it has told its version.
        bool vanishesAfterScan = false;

        // Set where, instead of the fault, the device lists memory only where the image
        // has no byte.
        bool memoryElsewhere = false;
    };

    void PrintTo (const DeviceFaultCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    std::string nameOf (const ::testing::TestParamInfo<DeviceFaultCase>& info)
    {
        return info.param.name;
    }

    class DeviceFaultOutcome : public ::testing::TestWithParam<DeviceFaultCase>
    {
    protected:
        SimulatedDeviceConfig faultyDevice() const
        {
            auto config = WizardWorld::reverbDevice();
            const auto& testCase = GetParam();

            if (testCase.vanishesAfterScan)
                config.faults.push_back ({ Kind::vanishAfterReply, DeviceCommand::VersionRequest });
            else if (testCase.memoryElsewhere)
                config.memoryMap = SimulatedMemoryMap::covering (256, { { 0x4000, 0x2000 } });
            else
                config.faults.push_back (testCase.fault);

            return config;
        }

        void expectResult (const juce::String& caption, const juce::String& body) const
        {
            EXPECT_EQ (driver.caption(), caption);
            EXPECT_EQ (driver.pageText(), body);
            EXPECT_TRUE (driver.isEnabled ("Done"));
        }

        WizardWorld world;
        WizardDriver driver { world.makeWizard (devicetest::shortReplyTimeouts()) };
    };

    class DeviceFaultDuringScan : public DeviceFaultOutcome
    {};
    class DeviceFaultDuringUpdate : public DeviceFaultOutcome
    {};

    DeviceFaultCase scanCase (const char* name, Kind kind, juce::uint8 command, juce::uint8 errorCode = 0)
    {
        return { name, { kind, command, 1, 1, errorCode }, "No Devices Were Found", "" };
    }

    DeviceFaultCase updateCase (const char* name, Kind kind, juce::uint8 command, int occurrence,
                                const char* caption, const char* body, juce::uint8 errorCode = 0, int times = 1)
    {
        return { name, { kind, command, occurrence, times, errorCode }, caption, body };
    }

    constexpr auto identity = DeviceCommand::IdentityRequest;
    constexpr auto version = DeviceCommand::VersionRequest;
    constexpr auto enter = DeviceCommand::EnterUpdateMode;
    constexpr auto prepare = DeviceCommand::PrepareWrite;
    constexpr auto memoryMap = DeviceCommand::MemoryMapRequest;
    constexpr auto writeBlock = DeviceCommand::WriteBlock;

    constexpr auto failed = UserTexts::updateFailed;
    constexpr auto succeeded = UserTexts::updateSucceeded;
    constexpr auto ready = UserTexts::readyToUse;
    constexpr auto noResponse = UserTexts::noResponse;
    constexpr auto corrupt = "The device returned corrupt data";
    constexpr auto unexpected = "An unexpected or invalid message was received";

    // Failures that come before the first block: the device heard no write at all.
    const juce::StringArray failingBeforeAnyWrite { "MemoryMapMissingARegion", "ImageOutsideTheDevicesMemory" };

    int writesHeardBy (const SimulatedDevice& device)
    {
        int writes = 0;

        for (const auto& message : device.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost))
            writes += SimulatedReplies::commandOf (juce::MidiMessage (message.data(), (int) message.size())) == writeBlock;

        return writes;
    }
}

TEST_P (DeviceFaultDuringScan, LeavesNoDeviceToChoose)
{
    world.setUpReverbScene (faultyDevice());

    driver.click ("Next >");

    expectResult ("No Devices Were Found", noDevicesBody);
    EXPECT_EQ (driver.description(), "No supported devices were detected");
    EXPECT_TRUE (driver.isVisible ("<< Start Over"));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Faults, DeviceFaultDuringScan, ::testing::Values (
    scanCase ("NoReplyToIdentity", Kind::noReply, identity),
    scanCase ("CorruptIdentityReply", Kind::badChecksum, identity),
    scanCase ("WrongReplyToIdentity", Kind::wrongKind, identity),
    scanCase ("ShortIdentityReply", Kind::tooShort, identity),
    scanCase ("ErrorReply5ToIdentity", Kind::errorReply, identity, 5),
    scanCase ("UnknownErrorReply14ToIdentity", Kind::errorReply, identity, 14),
    scanCase ("VanishedAfterIdentity", Kind::vanishAfterReply, identity),
    scanCase ("NoReplyToVersion", Kind::noReply, version),
    scanCase ("CorruptVersionReply", Kind::badChecksum, version),
    scanCase ("WrongReplyToVersion", Kind::wrongKind, version),
    scanCase ("ShortVersionReply", Kind::tooShort, version),
    scanCase ("ErrorReply5ToVersion", Kind::errorReply, version, 5),
    scanCase ("UnknownErrorReply14ToVersion", Kind::errorReply, version, 14),
    scanCase ("IdentityReplyFromAnotherFamily", Kind::foreignHeader, identity),
    scanCase ("VersionReplyFromAnotherFamily", Kind::foreignHeader, version)), nameOf);
// clang-format on

TEST_P (DeviceFaultDuringUpdate, EndsOnTheResultsPageWithItsText)
{
    auto& device = world.setUpReverbScene (faultyDevice());

    ASSERT_TRUE (driver.updateToTheNewestVersion());

    const auto& testCase = GetParam();
    expectResult (testCase.caption, testCase.body);
    EXPECT_EQ (driver.isVisible ("<< Start Over"), juce::String (testCase.caption) != succeeded);

    if (juce::String (testCase.caption) == succeeded)
    {
        EXPECT_EQ (device.readFlash (0x1200, 0x100), ImageFileBuilder::patternBytes (0x1200, 0x100));
    }

    if (failingBeforeAnyWrite.contains (testCase.name))
    {
        EXPECT_EQ (writesHeardBy (device), 0);
        EXPECT_TRUE (device.isInUpdateMode());
    }
}

// The switch into update mode may go unanswered: anything but an error reply is taken
// as done. The write block faults strike the second of the image's nine blocks. Another
// maker's device on the same port is heard and ignored.
// clang-format off
INSTANTIATE_TEST_SUITE_P (Faults, DeviceFaultDuringUpdate, ::testing::Values (
    updateCase ("NoReplyToEnterUpdateMode", Kind::noReply, enter, 1, succeeded, ready),
    updateCase ("CorruptReplyToEnterUpdateMode", Kind::badChecksum, enter, 1, succeeded, ready),
    updateCase ("WrongReplyToEnterUpdateMode", Kind::wrongKind, enter, 1, succeeded, ready),
    updateCase ("ShortReplyToEnterUpdateMode", Kind::tooShort, enter, 1, succeeded, ready),
    updateCase ("ErrorReply5ToEnterUpdateMode", Kind::errorReply, enter, 1, failed,
                "Command 0x71 specified an out-of-range index for the device", 5),
    updateCase ("UnknownErrorReply14ToEnterUpdateMode", Kind::errorReply, enter, 1, failed, "", 14),
    updateCase ("NoReplyToPrepareWrite", Kind::noReply, prepare, 1, failed, noResponse),
    updateCase ("CorruptReplyToPrepareWrite", Kind::badChecksum, prepare, 1, failed, corrupt),
    updateCase ("WrongReplyToPrepareWrite", Kind::wrongKind, prepare, 1, failed, unexpected),
    updateCase ("ShortReplyToPrepareWrite", Kind::tooShort, prepare, 1, failed, unexpected),
    updateCase ("ErrorReply5ToPrepareWrite", Kind::errorReply, prepare, 1, failed,
                "Command 0x7B specified an out-of-range index for the device", 5),
    updateCase ("UnknownErrorReply14ToPrepareWrite", Kind::errorReply, prepare, 1, failed, "", 14),
    updateCase ("CorruptMemoryMap", Kind::badChecksum, memoryMap, 1, failed, corrupt),
    updateCase ("WrongReplyToMemoryMapRequest", Kind::wrongKind, memoryMap, 1, failed, unexpected),
    updateCase ("ShortReplyToMemoryMapRequest", Kind::tooShort, memoryMap, 1, failed, unexpected),
    updateCase ("ErrorReply5ToMemoryMapRequest", Kind::errorReply, memoryMap, 1, failed,
                "Command 0x78 specified an out-of-range index for the device", 5),
    updateCase ("UnknownErrorReply14ToMemoryMapRequest", Kind::errorReply, memoryMap, 1, failed, "", 14),
    updateCase ("NoReplyToWriteBlock", Kind::noReply, writeBlock, 2, failed, noResponse),
    updateCase ("CorruptReplyToWriteBlock", Kind::badChecksum, writeBlock, 2, failed, corrupt),
    updateCase ("WrongReplyToWriteBlock", Kind::wrongKind, writeBlock, 2, failed, unexpected),
    updateCase ("ShortReplyToWriteBlock", Kind::tooShort, writeBlock, 2, failed, unexpected),
    updateCase ("UnknownErrorReply14ToWriteBlock", Kind::errorReply, writeBlock, 2, failed, "", 14),
    updateCase ("ErrorReply12ToWriteBlockTwiceThenAck", Kind::errorReply, writeBlock, 2, succeeded, ready, 12, 2),
    updateCase ("ErrorReply12ToWriteBlockThreeTimes", Kind::errorReply, writeBlock, 2, failed, "Command 0x7A failed", 12, 3),
    updateCase ("VanishedAfterEnterUpdateMode", Kind::vanishAfterReply, enter, 1, failed, noResponse),
    updateCase ("VanishedAfterPrepareWrite", Kind::vanishAfterReply, prepare, 1, failed, noResponse),
    updateCase ("VanishedAfterMemoryMap", Kind::vanishAfterReply, memoryMap, 1, failed, noResponse),
    updateCase ("VanishedAfterSecondBlock", Kind::vanishAfterReply, writeBlock, 2, failed, noResponse),
    DeviceFaultCase { "VanishedBetweenScanAndUpdate", {}, failed, noResponse, true },
    updateCase ("MemoryMapMissingARegion", Kind::missingRegion, memoryMap, 1, failed, unexpected),
    DeviceFaultCase { "ImageOutsideTheDevicesMemory", {}, failed, "The firmware image does not fit the device's memory", false, true },
    updateCase ("ReplyFromAnotherFamilyToPrepareWrite", Kind::foreignHeader, prepare, 1, failed, noResponse),
    updateCase ("StrangerAfterMemoryMap", Kind::strangerAfterReply, memoryMap, 1, succeeded, ready),
    updateCase ("StrangerAfterSecondBlock", Kind::strangerAfterReply, writeBlock, 2, succeeded, ready)), nameOf);
// clang-format on

TEST (DevicePortFaults, PortsThatCannotBeOpenedDuringTheScanLeaveNoDeviceToChoose)
{
    for (const bool inputFails : { true, false })
    {
        WizardWorld world;
        WizardDriver driver { world.makeWizard() };
        world.setUpReverbScene();
        inputFails ? world.ports.setInputFailsToOpen (0, true) : world.ports.setOutputFailsToOpen (0, true);

        driver.click ("Next >");

        EXPECT_EQ (driver.caption(), "No Devices Were Found") << inputFails;
        EXPECT_EQ (driver.pageText(), noDevicesBody) << inputFails;
    }
}
