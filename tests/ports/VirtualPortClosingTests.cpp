#include "tests/ports/TestMessages.h"
#include "tests/ports/VirtualPortsTest.h"

#include <functional>
#include <thread>

namespace
{
    void sleepBriefly()
    {
        juce::Thread::sleep (1);
    }

    /** Floods a receiver whose every call sleeps a little, closes it in the middle of the
        stream, and checks that no call was running when close returned and that none came
        after it. Several rounds, since the close lands at a different moment each time.
    */
    void expectClosingStopsCallsMidStream (const std::function<CallRecorder&()>& openSlowReceiver,
                                           const std::function<void (int)>& send,
                                           const std::function<void()>& closeReceiver)
    {
        for (int round = 0; round < 10; ++round)
        {
            auto& recorder = openSlowReceiver();
            std::thread sender ([&send]
            {
                for (int i = 0; i < 50; ++i)
                    send (i);
            });

            const bool heardSome = recorder.waitForCalls (3);
            closeReceiver();
            const bool callRunningAfterClose = recorder.isCallRunning();
            recorder.markClosed();
            sender.join();
            send (99);

            EXPECT_TRUE (heardSome) << "round " << round;
            EXPECT_FALSE (callRunningAfterClose) << "round " << round;
            EXPECT_EQ (recorder.getLateCalls(), 0) << "round " << round;
        }
    }
}

TEST_F (VirtualPortsTest, NoHostCallbackRunsOnceTheInputIsClosedMidStream)
{
    output = ports.openOutput (0);
    std::unique_ptr<RecordingMidiCallback> receiver;

    expectClosingStopsCallsMidStream (
        [&]() -> CallRecorder&
        {
            receiver = std::make_unique<RecordingMidiCallback>();
            receiver->recorder.duringCall = sleepBriefly;
            input = ports.openInput (0, *receiver);
            input->start();
            return receiver->recorder;
        },
        [this] (int i) { connection->sendToHost (numberedSysex (i)); },
        [this] { input.reset(); });
}

TEST_F (VirtualPortsTest, AFarSideIsNeverCalledOnceItsConnectionIsDestroyedMidStream)
{
    ASSERT_TRUE (openHostPorts());
    std::unique_ptr<RecordingEndpoint> farSide;

    expectClosingStopsCallsMidStream (
        [&]() -> CallRecorder&
        {
            farSide = std::make_unique<RecordingEndpoint>();
            farSide->recorder.duringCall = sleepBriefly;
            connection = ports.attach ("Pedal", *farSide);
            return farSide->recorder;
        },
        [this] (int i) { output->sendMessageNow (numberedSysex (i)); },
        [this] { connection.reset(); });
}

TEST_F (VirtualPortsTest, StopWaitsForTheRunningCallbackAndDropsWhatIsStillQueued)
{
    ASSERT_TRUE (openHostPorts());
    juce::WaitableEvent entered;
    std::atomic<bool> firstCallFinished { false };
    host.recorder.duringCall = [&]
    {
        entered.signal();
        juce::Thread::sleep (20);
        firstCallFinished = true;
    };

    for (int i = 1; i <= 3; ++i)
        connection->sendToHost (numberedSysex (i));

    ASSERT_TRUE (entered.wait (5000));
    input->stop();
    EXPECT_TRUE (firstCallFinished);

    input->start();
    connection->sendToHost (numberedSysex (4));
    ASSERT_TRUE (host.recorder.waitForCalls (2));
    EXPECT_EQ (host.recorder.getEventLog(), numberedLog ({ 1, 4 }));
}

// FIFO order proves the drops: a message wrongly kept would arrive before a later one.
TEST_F (VirtualPortsTest, MessagesSentWhileTheHostInputIsClosedOrStoppedAreDropped)
{
    connection->sendToHost (numberedSysex (1));
    input = ports.openInput (0, host);
    connection->sendToHost (numberedSysex (2));
    input->start();
    connection->sendToHost (numberedSysex (3));
    ASSERT_TRUE (host.recorder.waitForCalls (1));

    input->stop();
    connection->sendToHost (numberedSysex (4));
    input->start();
    connection->sendToHost (numberedSysex (5));

    ASSERT_TRUE (host.recorder.waitForCalls (2));
    EXPECT_EQ (host.recorder.getEventLog(), numberedLog ({ 3, 5 }));
}

TEST_F (VirtualPortsTest, StoppingBeforeStartingAndRepeatedStartsAndStopsAreHarmless)
{
    input = ports.openInput (0, host);
    input->stop();
    input->start();
    input->start();

    connection->sendToHost (numberedSysex (1));
    connection->sendToHost (numberedSysex (2));
    ASSERT_TRUE (host.recorder.waitForCalls (2));
    input->stop();
    input->stop();
    input.reset();

    EXPECT_EQ (host.recorder.getEventLog(), numberedLog ({ 1, 2 }));
}

TEST_F (VirtualPortsTest, AnInputOpenedTwiceFeedsBothCallbacksAndClosingOneLeavesTheOther)
{
    ASSERT_TRUE (openHostPorts());
    RecordingMidiCallback secondHost;
    auto secondInput = ports.openInput (0, secondHost);
    secondInput->start();

    connection->sendToHost (numberedSysex (1));
    ASSERT_TRUE (host.recorder.waitForCalls (1));
    ASSERT_TRUE (secondHost.recorder.waitForCalls (1));

    input.reset();
    connection->sendToHost (numberedSysex (2));
    ASSERT_TRUE (secondHost.recorder.waitForCalls (2));
    EXPECT_EQ (host.recorder.getEvents().size(), 1);
}

TEST_F (VirtualPortsTest, AFarSideThatVanishesWhileThePortsAreOpenLeavesSendsGoingNowhere)
{
    ASSERT_TRUE (openHostPorts());
    echoToHost();
    output->sendMessageNow (numberedSysex (1));
    ASSERT_TRUE (host.recorder.waitForCalls (1));

    connection.reset();
    output->sendMessageNow (numberedSysex (2));

    RecordingEndpoint replugged;
    auto repluggedConnection = ports.attach ("Pedal", replugged);
    replugged.answer = [farSide = repluggedConnection.get()] (const juce::MidiMessage& message)
    {
        farSide->sendToHost (message);
    };
    output->sendMessageNow (numberedSysex (3));

    ASSERT_TRUE (host.recorder.waitForCalls (2));
    EXPECT_EQ (host.recorder.getEventLog(), numberedLog ({ 1, 3 }));
}

TEST (VirtualPortLifetime, PortsAndConnectionsKeepWorkingAfterThePortSystemIsDestroyed)
{
    RecordingEndpoint endpoint;
    RecordingMidiCallback host;
    auto ports = std::make_unique<VirtualMidiPortSystem>();
    ports->addInput ("X");
    ports->addOutput ("X");
    auto connection = ports->attach ("X", endpoint);
    endpoint.answer = [farSide = connection.get()] (const juce::MidiMessage& message)
    {
        farSide->sendToHost (message);
    };
    auto input = ports->openInput (0, host);
    auto output = ports->openOutput (0);
    input->start();

    ports.reset();
    output->sendMessageNow (numberedSysex (1));

    ASSERT_TRUE (host.recorder.waitForCalls (1));
    connection.reset();
    output.reset();
    input.reset();
}
