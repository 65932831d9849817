#include "device/DeviceCommand.h"
#include "tests/device/DeviceWorker.h"
#include "tests/device/ScriptedDeviceTest.h"
#include "tests/device/ShortReplyTimeouts.h"

using devicetest::Bytes;

class DeviceExchange : public ScriptedDeviceTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (device->openPorts());
    }

    std::string versionRequestAnsweredWith (std::vector<Bytes> answer)
    {
        endpoint.thenAnswer (std::move (answer));
        return devicetest::thrownBy ([this] { device->readVersion(); });
    }

    const std::unique_ptr<MidiTargetDevice> device = makeDevice (calvioProduct(), devicetest::shortReplyTimeouts());
};

TEST_F (DeviceExchange, AckIsNeverHandedToTheCaller)
{
    endpoint.thenAnswer ({ reply (DeviceCommand::Ack, {}) });
    pex::Super7TxSysexMsg message (device->getCurrentHeader (DeviceCommand::PrepareWrite));
    message.AppendByte (0x00);
    message.Complete();

    EXPECT_EQ (device->transact (message, DeviceCommand::Ack, 1000), nullptr);
}

TEST_F (DeviceExchange, FailuresAreTheCommunicationErrorsOfTheirKind)
{
    auto corrupt = reply (DeviceCommand::VersionReply, { 0x01, 0x05 });
    corrupt[corrupt.size() - 2] ^= 0x01;

    EXPECT_EQ (versionRequestAnsweredWith ({ corrupt }), "host 1: The device returned corrupt data");
    EXPECT_EQ (versionRequestAnsweredWith ({ reply (DeviceCommand::Ack, {}) }),
               "host 2: An unexpected or invalid message was received");
    EXPECT_EQ (versionRequestAnsweredWith ({ reply (DeviceCommand::ErrorReply, { 0x08, 0x0B }) }),
               "target 0x8/11: The device could not execute command 0x8 in its current mode");
    EXPECT_EQ (versionRequestAnsweredWith ({}), "host 0: No reponse was received from the device");
}

TEST_F (DeviceExchange, ReplyTooShortForItsPrefixIsAnUnexpectedReply)
{
    EXPECT_EQ (versionRequestAnsweredWith ({ Bytes { 0xF0, 0x06, 0xF7 } }),
               "host 2: An unexpected or invalid message was received");
    EXPECT_EQ (versionRequestAnsweredWith ({ Bytes { 0xF0, 0x06, 0x03, 0x05, 0xF7 } }),
               "host 2: An unexpected or invalid message was received");
}

TEST_F (DeviceExchange, MessagesOtherThanSysExAreIgnored)
{
    EXPECT_EQ (versionRequestAnsweredWith ({ Bytes { 0x90, 0x40, 0x7F }, reply (DeviceCommand::VersionReply, { 0x02, 0x10 }) }), "");
    EXPECT_EQ (device->getVersion(), "2.1");
}

TEST_F (DeviceExchange, StrayMessageIsTakenByTheNextExchange)
{
    endpoint.sendUnasked (reply (DeviceCommand::Ack, {}));

    EXPECT_EQ (versionRequestAnsweredWith ({}), "host 2: An unexpected or invalid message was received");
}

namespace
{
    // The virtual ports, except that the test gets the callback each input was opened
    // with, to hand it what a backend without a bound would.
    class HandingOnPortSystem : public MidiPortSystem
    {
    public:
        explicit HandingOnPortSystem (MidiPortSystem& portsToUse) : ports (portsToUse) {}

        juce::StringArray getInputNames() override   { return ports.getInputNames(); }
        juce::StringArray getOutputNames() override  { return ports.getOutputNames(); }
        std::unique_ptr<MidiOutputPort> openOutput (int index) override { return ports.openOutput (index); }

        std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override
        {
            receiver = &callback;
            return ports.openInput (index, callback);
        }

        MidiPortSystem& ports;
        juce::MidiInputCallback* receiver = nullptr;
    };
}

TEST_F (DeviceExchange, SysexLongerThanAnyReplyIsDroppedWhateverThePortsHandOn)
{
    HandingOnPortSystem handingOn (ports);
    MidiTargetDevice patient (calvioProduct(), handingOn, devicetest::shortReplyTimeouts());
    patient.setPortIndices (0, 0);
    ASSERT_TRUE (patient.openPorts());
    const Bytes longVersion (MidiInputPort::maxSysexBytes, 0x01);
    const auto oversized = reply (DeviceCommand::VersionReply, longVersion);

    handingOn.receiver->handleIncomingMidiMessage (nullptr, juce::MidiMessage (oversized.data(), (int) oversized.size()));

    EXPECT_EQ (devicetest::thrownBy ([&patient] { patient.readVersion(); }), "host 0: No reponse was received from the device");
}

TEST_F (DeviceExchange, ExchangeWithClosedPortsFailsWithoutSending)
{
    device->closePorts();

    EXPECT_EQ (versionRequestAnsweredWith ({}), "comm: An unspecified communication error has occured");
    EXPECT_TRUE (endpoint.getReceived().empty());
}

TEST_F (DeviceExchange, WaitForAReplyEndsWhenItsThreadIsToldToExit)
{
    // The real wait, so that the exit comes long before the wait would end by itself.
    device->closePorts();
    const auto patient = makeDevice (calvioProduct());
    ASSERT_TRUE (patient->openPorts());

    DeviceWorker worker ([&patient] { patient->enterUpdateMode(); });
    worker.startThread();
    ASSERT_TRUE (endpoint.waitForReceived (1));

    worker.signalThreadShouldExit();

    ASSERT_TRUE (worker.waitUntilDone());
    EXPECT_EQ (worker.getOutcome(), "interrupted: The update was interrupted");
    EXPECT_FALSE (patient->isWaitingForUpdate());
}

namespace
{
    struct SenderCase
    {
        const char* name;
        Bytes message;   // answers a VersionRequest of the Calvio product 05/02, update product 12
        bool taken;
    };

    void PrintTo (const SenderCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    Bytes versionReplyFrom (SysexHeader header)
    {
        header.command = DeviceCommand::VersionReply;
        return devicetest::superSeven (header, { 0x02, 0x10 });
    }

    Bytes withBadChecksum (Bytes message)
    {
        message[message.size() - 2] ^= 0x01;
        return message;
    }

    SysexHeader calvio (juce::uint8 deviceId, juce::uint8 familyId, juce::uint8 productId)
    {
        return devicetest::calvioHeader (deviceId, familyId, productId, 0);
    }

    SysexHeader withManufacturer (juce::uint16 manufacturerId, juce::uint8 extendedId)
    {
        auto header = calvio (0x01, 0x05, 0x02);
        header.manufacturerId = manufacturerId;
        header.extendedId = extendedId;
        return header;
    }

    class DeviceReplySender : public ScriptedDeviceTest,
                              public ::testing::WithParamInterface<SenderCase>
    {
    };
}

// Only a message headed with the manufacturer, family and product IDs of the request is
// its reply; anything else on the port is another device's, and the wait goes on.
TEST_P (DeviceReplySender, DecidesWhetherTheMessageAnswersTheRequest)
{
    const auto device = makeDevice (calvioProduct (0x12), devicetest::shortReplyTimeouts());
    ASSERT_TRUE (device->openPorts());
    endpoint.thenAnswer ({ GetParam().message });

    const auto outcome = devicetest::thrownBy ([&device] { device->readVersion(); });

    EXPECT_EQ (outcome, GetParam().taken ? "" : "host 0: No reponse was received from the device");
    EXPECT_EQ (device->getVersion(), GetParam().taken ? "2.1" : "");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P (Headers, DeviceReplySender, ::testing::Values (
    SenderCase { "OwnIds",                      versionReplyFrom (calvio (0x01, 0x05, 0x02)), true },
    SenderCase { "AnyDeviceId",                 versionReplyFrom (calvio (0x7F, 0x05, 0x02)), true },
    SenderCase { "AnotherManufacturer",         versionReplyFrom (withManufacturer (0x07, 0)), false },
    SenderCase { "ManufacturerIdInThreeBytes",  versionReplyFrom (withManufacturer (0x06, 1)), false },
    SenderCase { "Brisma",                      versionReplyFrom (devicetest::brismaHeader (0x01, 0x05, 0x02, 0)), false },
    SenderCase { "AnotherFamily",               versionReplyFrom (calvio (0x01, 0x06, 0x02)), false },
    SenderCase { "AnotherProduct",              versionReplyFrom (calvio (0x01, 0x05, 0x03)), false },
    SenderCase { "UpdateProductBeforeTheSwitch", versionReplyFrom (calvio (0x01, 0x05, 0x12)), false },
    SenderCase { "CorruptFromAnotherFamily",    withBadChecksum (versionReplyFrom (calvio (0x01, 0x06, 0x02))), false },
    SenderCase { "AnotherMakersShortMessage",   Bytes { 0xF0, 0x43, 0xF7 }, false }),
    [] (const auto& info) { return std::string (info.param.name); });
// clang-format on
