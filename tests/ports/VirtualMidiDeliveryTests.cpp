#include "tests/ports/TestMessages.h"
#include "tests/ports/VirtualPortsTest.h"

#include <set>

TEST_F (VirtualPortsTest, TheFarSideHearsTheHostOnAThreadOfItsOwnAndItsAnswerOnAnother)
{
    ASSERT_TRUE (openHostPorts());
    echoToHost();

    output->sendMessageNow (numberedSysex (1));

    ASSERT_TRUE (host.recorder.waitForCalls (1));
    const auto farSideThread = endpoint.recorder.getThreads().back();
    const auto hostThread = host.recorder.getThreads().front();
    EXPECT_NE (farSideThread, juce::Thread::getCurrentThreadId());
    EXPECT_NE (hostThread, juce::Thread::getCurrentThreadId());
    EXPECT_NE (hostThread, farSideThread);
    EXPECT_FALSE (host.sawSource);
}

TEST_F (VirtualPortsTest, MessagesArriveInTheOrderTheyWereSentBothWays)
{
    ASSERT_TRUE (openHostPorts());
    echoToHost();
    juce::StringArray sent;

    for (int i = 0; i < 300; ++i)
    {
        output->sendMessageNow (numberedSysex (i));
        sent.add (hexOf (numberedSysex (i)));
    }

    ASSERT_TRUE (host.recorder.waitForCalls (sent.size()));
    auto heardByFarSide = endpoint.recorder.getEvents();
    heardByFarSide.removeRange (0, portEventsAfterOpening);
    EXPECT_EQ (heardByFarSide.joinIntoString ("|"), sent.joinIntoString ("|"));
    EXPECT_EQ (host.recorder.getEventLog(), sent.joinIntoString ("|"));
}

TEST_F (VirtualPortsTest, EachSysexMessageArrivesWholeInOneCall)
{
    ASSERT_TRUE (openHostPorts());
    echoToHost();
    std::vector<juce::uint8> longData (1024);

    for (size_t i = 0; i < longData.size(); ++i)
        longData[i] = static_cast<juce::uint8> (i % 128);

    const auto longMessage = sysex (longData);
    const auto shortMessage = sysex ({ 0x00, 0x00, 0x10, 0x01, 0x10, 0x03, 0x7E, 0x00 });
    output->sendMessageNow (longMessage);
    output->sendMessageNow (shortMessage);

    ASSERT_TRUE (host.recorder.waitForCalls (2));
    const auto received = host.recorder.getEvents();
    ASSERT_EQ (received.size(), 2);
    EXPECT_EQ (received[0], hexOf (longMessage));
    EXPECT_TRUE (received[0].startsWith ("F0 00 01 02") && received[0].endsWith ("7F F7"));
    EXPECT_EQ (received[1], "F0 00 00 10 01 10 03 7E 00 F7");
}

TEST_F (VirtualPortsTest, SendingReturnsWhileTheFarSideIsStillBusyWithAnEarlierMessage)
{
    ASSERT_TRUE (openHostPorts());
    holdFarSideInEachCall();

    output->sendMessageNow (numberedSysex (1));
    ASSERT_TRUE (farSideEntered.wait (5000));
    output->sendMessageNow (numberedSysex (2));
    output->sendMessageNow (numberedSysex (3));
    const bool farSideStillBusy = endpoint.recorder.isCallRunning();
    farSideReleased.signal();

    EXPECT_TRUE (farSideStillBusy);
    ASSERT_TRUE (endpoint.recorder.waitForCalls (portEventsAfterOpening + 3));
    EXPECT_EQ (endpoint.recorder.getEvents()[portEventsAfterOpening + 2], hexOf (numberedSysex (3)));
}

TEST_F (VirtualPortsTest, TwoFarSidesOnOneNameBothHearEveryMessageAndBothAnswersReachTheHost)
{
    RecordingEndpoint other;
    auto otherConnection = ports.attach ("Pedal", other);
    endpoint.answer = [this] (const juce::MidiMessage&) { connection->sendToHost (sysex ({ 0x01 })); };
    other.answer = [&] (const juce::MidiMessage&) { otherConnection->sendToHost (sysex ({ 0x02 })); };
    ASSERT_TRUE (openHostPorts());
    ASSERT_TRUE (other.recorder.waitForCalls (portEventsAfterOpening));

    output->sendMessageNow (numberedSysex (7));

    ASSERT_TRUE (host.recorder.waitForCalls (2));
    ASSERT_TRUE (other.recorder.waitForCalls (portEventsAfterOpening + 1));
    EXPECT_EQ (endpoint.recorder.getEvents()[portEventsAfterOpening], hexOf (numberedSysex (7)));
    EXPECT_EQ (other.recorder.getEvents()[portEventsAfterOpening], hexOf (numberedSysex (7)));
    const auto answers = host.recorder.getEvents();
    EXPECT_EQ (std::set<juce::String> (answers.begin(), answers.end()),
               (std::set<juce::String> { "F0 01 F7", "F0 02 F7" }));
}

TEST_F (VirtualPortsTest, AFarSideThatIsBusyDoesNotHoldUpAnotherOnTheSameName)
{
    RecordingEndpoint other;
    auto otherConnection = ports.attach ("Pedal", other);
    ASSERT_TRUE (openHostPorts());
    ASSERT_TRUE (other.recorder.waitForCalls (portEventsAfterOpening));
    holdFarSideInEachCall();

    output->sendMessageNow (numberedSysex (1));
    output->sendMessageNow (numberedSysex (2));

    const bool firstIsBusy = farSideEntered.wait (5000);
    const bool otherHeardBoth = other.recorder.waitForCalls (portEventsAfterOpening + 2);
    farSideReleased.signal();
    EXPECT_TRUE (firstIsBusy);
    EXPECT_TRUE (otherHeardBoth);
}
