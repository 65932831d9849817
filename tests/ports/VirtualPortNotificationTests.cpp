#include "tests/ports/TestMessages.h"
#include "tests/ports/VirtualPortsTest.h"

TEST_F (VirtualPortsTest, TheFarSideHearsEachOpeningAndClosingInOrderWithTheMessages)
{
    ASSERT_TRUE (openHostPorts());
    output->sendMessageNow (numberedSysex (1));
    output.reset();
    input.reset();
    input = ports.openInput (0, host);
    output = ports.openOutput (0);
    output->sendMessageNow (numberedSysex (2));

    ASSERT_TRUE (endpoint.recorder.waitForCalls (9));
    EXPECT_EQ (endpoint.recorder.getEventLog(),
               "ports 0 0|ports 1 0|ports 1 1|" + hexOf (numberedSysex (1))
                   + "|ports 1 0|ports 0 0|ports 1 0|ports 1 1|" + hexOf (numberedSysex (2)));
}

TEST_F (VirtualPortsTest, AFarSideAttachedWhileThePortsAreOpenIsToldWhatIsOpen)
{
    ASSERT_TRUE (openHostPorts());
    RecordingEndpoint late;
    auto lateConnection = ports.attach ("Pedal", late);

    ASSERT_TRUE (late.recorder.waitForCalls (1));
    EXPECT_EQ (late.recorder.getEvents()[0], "ports 1 1");
}

TEST_F (VirtualPortsTest, OpeningPortsOfAnotherNameIsNotReported)
{
    ports.addInput ("Other");
    ports.addOutput ("Other");
    auto otherInput = ports.openInput (1, host);
    auto otherOutput = ports.openOutput (1);
    ASSERT_TRUE (openHostPorts());

    EXPECT_EQ (endpoint.recorder.getEventLog(), "ports 0 0|ports 1 0|ports 1 1");
}
