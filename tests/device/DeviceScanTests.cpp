#include "device/DeviceCommand.h"
#include "device/MidiDeviceScanner.h"
#include "tests/device/DeviceWorker.h"
#include "tests/device/ShortReplyTimeouts.h"
#include "tests/device/SimulatedTargetTest.h"

#include <algorithm>

class DeviceScan : public SimulatedTargetTest
{
protected:
    std::unique_ptr<juce::OwnedArray<TargetDevice>> scan (std::initializer_list<TargetProduct> products)
    {
        juce::OwnedArray<TargetProduct> catalogue;

        for (const auto& product : products)
            catalogue.add (std::make_unique<TargetProduct> (product));

        return MidiDeviceScanner (ports, devicetest::shortReplyTimeouts()).findDevices (catalogue);
    }

    static SimulatedDeviceConfig redPedalConfig()
    {
        auto config = pedalConfig();
        config.productId = config.updateProductId = 0x03;
        config.deviceId = 0x04;
        config.name = "Red Pedal";
        return config;
    }

    static const std::vector<std::string> identifiedAndAskedForVersion;
};

const std::vector<std::string> DeviceScan::identifiedAndAskedForVersion { "01: 7F 7F 7F", "08:" };

TEST_F (DeviceScan, ProductWhosePortNameMatchesNoPortIsNeverProbed)
{
    const auto& pedal = attach (pedalConfig());
    auto product = productOf (pedalConfig());
    product.ports[0]->name = "pedal";

    EXPECT_EQ (scan ({ product }), nullptr);
    EXPECT_TRUE (heardBy (pedal).empty());
}

TEST_F (DeviceScan, ScanThatIdentifiesNothingReturnsNoListRatherThanAnEmptyOne)
{
    const auto& pedal = attach (pedalConfig());
    auto product = productOf (pedalConfig());
    product.familyId = 0x06;

    EXPECT_EQ (scan ({ product }), nullptr);
    EXPECT_EQ (heardBy (pedal).size(), 1u);
}

TEST_F (DeviceScan, CountOfTwoProbesOnlyTheSecondMatchingInputWithTheSecondMatchingOutput)
{
    for (const auto* name : { "X", "2- X" })
    {
        ports.addInput (name);
        ports.addOutput (name);
    }

    auto first = pedalConfig();
    first.portName = "X";
    auto second = redPedalConfig();
    second.portName = "2- X";
    second.productId = second.updateProductId = first.productId;
    const auto& onFirst = attach (first);
    const auto& onSecond = attach (second);
    auto product = productOf (first);
    product.ports[0]->count = 2;

    const auto found = scan ({ product });

    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 1);
    EXPECT_EQ ((*found)[0]->getDeviceName(), "Red Pedal");
    EXPECT_TRUE (heardBy (onFirst).empty());
    EXPECT_EQ (heardBy (onSecond), identifiedAndAskedForVersion);
}

TEST_F (DeviceScan, TwoProductsOnOnePortAreBothProbedAndEachDeviceAnswersOnlyForItself)
{
    const auto& blue = attach (pedalConfig());
    const auto& red = attach (redPedalConfig());

    const auto found = scan ({ productOf (pedalConfig()), productOf (redPedalConfig()) });

    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 2);
    EXPECT_EQ ((*found)[0]->getDisplayName(), "Product \"Blue Pedal\" (at version 1.05)");
    EXPECT_EQ ((*found)[1]->getDisplayName(), "Product \"Red Pedal\" (at version 1.05)");

    // The blue pedal hears the red one's probe as well, on its own thread, and answers
    // nothing the scan could have waited for.
    EXPECT_TRUE (blue.getTranscript().waitUntilHandled (4, 5000));
    EXPECT_EQ (heardBy (blue).size(), 4u);
    EXPECT_EQ (blue.getTranscript().getMessages (SimulatedTranscript::Direction::toHost).size(), 2u);
    EXPECT_EQ (red.getTranscript().getMessages (SimulatedTranscript::Direction::toHost).size(), 2u);
}

TEST_F (DeviceScan, PairThatTwoNamesOfOneProductMatchIsAskedOnceAndItsDeviceListedOnce)
{
    const auto& pedal = attach (pedalConfig());
    auto product = productOf (pedalConfig());
    product.ports.add (std::make_unique<TargetPort> (TargetPort { "eda" }));

    const auto found = scan ({ product });

    ASSERT_NE (found, nullptr);
    EXPECT_EQ (found->size(), 1);
    EXPECT_EQ (heardBy (pedal), identifiedAndAskedForVersion);
}

TEST_F (DeviceScan, PairThatFailsItsProbeIsPassedOverAndTheScanGoesOn)
{
    auto faulty = pedalConfig();
    faulty.faults.push_back ({ SimulatedFault::Kind::badChecksum, DeviceCommand::VersionRequest });
    attach (faulty);
    attach (redPedalConfig());

    const auto found = scan ({ productOf (faulty), productOf (redPedalConfig()) });

    ASSERT_NE (found, nullptr);
    ASSERT_EQ (found->size(), 1);
    EXPECT_EQ ((*found)[0]->getDeviceName(), "Red Pedal");
}

TEST_F (DeviceScan, DeviceWaitingForUpdateIsFoundUnderItsUpdateProductIdAndNotAskedItsVersion)
{
    auto config = pedalConfig();
    config.updateProductId = 0x12;
    config.startsInUpdateMode = true;
    const auto& pedal = attach (config);

    const auto found = scan ({ productOf (config) });

    ASSERT_NE (found, nullptr);
    EXPECT_EQ ((*found)[0]->getDisplayName(), "Product \"Blue Pedal\" (waiting for update)");
    EXPECT_EQ (heardBy (pedal), (std::vector<std::string> { "01: 7F 7F 7F", "01: 7F 7F 7F" }));
    const auto messages = pedal.getTranscript().getMessages (SimulatedTranscript::Direction::fromHost);
    EXPECT_EQ (messages[1][4], 0x12);
}

TEST_F (DeviceScan, ModelThatAnswersIdentityTwiceHasItsSecondAnswerDroppedWheneverItArrives)
{
    // With no time on the wire both answers are mostly in before the first is taken;
    // over DIN MIDI the second comes while the first is being read.
    for (const auto bytesPerSecond : { 0.0, SimulatedDeviceConfig::dinBytesPerSecond })
    {
        auto config = pedalConfig();
        config.familyId = 0x1A;
        config.answersIdentityTwice = true;
        config.linkBytesPerSecond = bytesPerSecond;
        const auto& pedal = attach (config);

        const auto found = scan ({ productOf (config) });

        ASSERT_NE (found, nullptr);
        EXPECT_EQ ((*found)[0]->getVersion(), "1.05");
        EXPECT_EQ (heardBy (pedal), identifiedAndAskedForVersion);
        simulatedDevices.clear();
    }
}

TEST_F (DeviceScan, ScanStopsBeforeItsNextProbeWhenItsThreadIsToldToExit)
{
    const auto& pedal = attach (pedalConfig());
    std::unique_ptr<juce::OwnedArray<TargetDevice>> found;

    DeviceWorker worker ([&]
    {
        juce::Thread::getCurrentThread()->signalThreadShouldExit();
        found = scan ({ productOf (pedalConfig()) });
    });

    worker.startThread();
    ASSERT_TRUE (worker.waitUntilDone());
    EXPECT_EQ (found, nullptr);
    EXPECT_TRUE (heardBy (pedal).empty());
}

namespace
{
    struct PortNameCase
    {
        const char* name;
        const char* portName;   // the catalogue's, against the ports "Pedal" and "Other Maker Synth"
        int probedPairs;
    };

    void PrintTo (const PortNameCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    class DeviceScanPortName : public DeviceScan,
                               public ::testing::WithParamInterface<PortNameCase>
    {
    protected:
        static size_t identityRequestsHeardBy (const SimulatedDevice& device)
        {
            const auto heard = heardBy (device);
            return (size_t) std::count (heard.begin(), heard.end(), identifiedAndAskedForVersion.front());
        }
    };
}

// Each pair probed sends one identity request, on its output, to the device of that name.
TEST_P (DeviceScanPortName, ProbesOnlyThePairsWhoseNamesContainIt)
{
    ports.addInput ("Other Maker Synth");
    ports.addOutput ("Other Maker Synth");
    auto otherConfig = redPedalConfig();
    otherConfig.portName = "Other Maker Synth";
    const auto& pedal = attach (pedalConfig());
    const auto& other = attach (otherConfig);
    auto product = productOf (pedalConfig());
    product.ports[0]->name = GetParam().portName;

    const auto found = scan ({ product });

    EXPECT_EQ (identityRequestsHeardBy (pedal) + identityRequestsHeardBy (other), (size_t) GetParam().probedPairs);
    EXPECT_EQ (found != nullptr, GetParam().probedPairs > 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Names, DeviceScanPortName, ::testing::Values (
    PortNameCase { "Empty",     "",      0 },
    PortNameCase { "Blank",     " \t",  0 },
    PortNameCase { "Space",     " ",     0 },
    PortNameCase { "Whole",     "Pedal", 1 },
    PortNameCase { "Part",      "eda",   1 }),
    [] (const auto& info) { return std::string (info.param.name); });
// clang-format on
