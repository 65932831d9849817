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
