#include "sim/ports/VirtualMidiPortSystem.h"
#include "tests/ports/RecordingEndpoint.h"
#include "tests/ports/RecordingMidiCallback.h"
#include "tests/ports/TestMessages.h"

#include <gtest/gtest.h>

TEST (VirtualPortListing, InputsAndOutputsAreSeparateListsInTheOrderAdded)
{
    VirtualMidiPortSystem ports;

    EXPECT_EQ (ports.addInput ("X"), 0);
    EXPECT_EQ (ports.addInput ("2- X"), 1);
    EXPECT_EQ (ports.addOutput ("X"), 0);
    EXPECT_EQ (ports.addInput ("Keyboard"), 2);
    EXPECT_EQ (ports.addOutput ("2- X"), 1);

    EXPECT_EQ (ports.getInputNames().joinIntoString ("|"), "X|2- X|Keyboard");
    EXPECT_EQ (ports.getOutputNames().joinIntoString ("|"), "X|2- X");
}

TEST (VirtualPortListing, IndicesOutsideTheListsOpenNothing)
{
    VirtualMidiPortSystem ports;
    RecordingMidiCallback host;
    ports.addInput ("X");
    ports.addOutput ("X");

    EXPECT_EQ (ports.openInput (-1, host), nullptr);
    EXPECT_EQ (ports.openInput (1, host), nullptr);
    EXPECT_EQ (ports.openOutput (-1), nullptr);
    EXPECT_EQ (ports.openOutput (1), nullptr);
    EXPECT_NE (ports.openInput (0, host), nullptr);
    EXPECT_NE (ports.openOutput (0), nullptr);
}

// Per-receiver FIFO order proves what did not arrive: a message routed to the wrong
// port would have been delivered before the marker sent after it.
TEST (VirtualPortListing, AnIndexReachesOnlyTheFarSideOfTheNameAtThatPosition)
{
    VirtualMidiPortSystem ports;
    ports.addInput ("X");
    ports.addInput ("2- X");
    ports.addOutput ("X");
    ports.addOutput ("2- X");

    RecordingEndpoint plain, second;
    RecordingMidiCallback host;
    auto plainConnection = ports.attach ("X", plain);
    auto secondConnection = ports.attach ("2- X", second);

    auto secondOutput = ports.openOutput (1);
    auto plainOutput = ports.openOutput (0);
    secondOutput->sendMessageNow (numberedSysex (1));
    plainOutput->sendMessageNow (numberedSysex (2));

    auto secondInput = ports.openInput (1, host);
    secondInput->start();
    plainConnection->sendToHost (numberedSysex (3));
    secondConnection->sendToHost (numberedSysex (4));
    plainOutput->sendMessageNow (numberedSysex (5));

    ASSERT_TRUE (plain.recorder.waitForCalls (4));
    ASSERT_TRUE (second.recorder.waitForCalls (4));
    ASSERT_TRUE (host.recorder.waitForCalls (1));
    EXPECT_EQ (plain.recorder.getEventLog(),
               "ports 0 0|ports 0 1|" + numberedLog ({ 2, 5 }));
    EXPECT_EQ (second.recorder.getEventLog(),
               "ports 0 0|ports 0 1|" + hexOf (numberedSysex (1)) + "|ports 1 1");
    EXPECT_EQ (host.recorder.getEventLog(), hexOf (numberedSysex (4)));
}

TEST (VirtualPortOpenFailures, AFailingInputOrOutputOpensAsNullptrUntilCleared)
{
    VirtualMidiPortSystem ports;
    RecordingMidiCallback host;
    ports.addInput ("X");
    ports.addOutput ("X");
    ports.setInputFailsToOpen (0, true);
    ports.setOutputFailsToOpen (0, true);

    EXPECT_EQ (ports.openInput (0, host), nullptr);
    EXPECT_EQ (ports.openOutput (0), nullptr);
    EXPECT_EQ (ports.getInputNames().joinIntoString ("|"), "X");
    EXPECT_EQ (ports.getOutputNames().joinIntoString ("|"), "X");

    ports.setInputFailsToOpen (0, false);
    ports.setOutputFailsToOpen (0, false);
    EXPECT_NE (ports.openInput (0, host), nullptr);
    EXPECT_NE (ports.openOutput (0), nullptr);
}

TEST (VirtualPortOpenFailures, AFailedOpeningIsNotSeenByTheFarSide)
{
    VirtualMidiPortSystem ports;
    RecordingEndpoint endpoint;
    RecordingMidiCallback host;
    ports.addInput ("X");
    ports.addOutput ("X");
    auto connection = ports.attach ("X", endpoint);

    ports.setOutputFailsToOpen (0, true);
    EXPECT_EQ (ports.openOutput (0), nullptr);
    auto input = ports.openInput (0, host);

    ASSERT_TRUE (endpoint.recorder.waitForCalls (2));
    EXPECT_EQ (endpoint.recorder.getEventLog(), "ports 0 0|ports 1 0");
}
