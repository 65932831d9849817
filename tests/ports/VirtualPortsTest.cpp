#include "tests/ports/VirtualPortsTest.h"

VirtualPortsTest::VirtualPortsTest()
{
    ports.addInput ("Pedal");
    ports.addOutput ("Pedal");
    connection = ports.attach ("Pedal", endpoint);
}

VirtualPortsTest::~VirtualPortsTest()
{
    farSideReleased.signal();
}

::testing::AssertionResult VirtualPortsTest::openHostPorts()
{
    input = ports.openInput (0, host);
    output = ports.openOutput (0);

    if (input == nullptr || output == nullptr)
        return ::testing::AssertionFailure() << "input 0 or output 0 did not open";

    input->start();

    if (! endpoint.recorder.waitForCalls (portEventsAfterOpening))
        return ::testing::AssertionFailure() << "the far side did not hear of both openings";

    return ::testing::AssertionSuccess();
}

void VirtualPortsTest::echoToHost()
{
    endpoint.answer = [farSide = connection.get()] (const juce::MidiMessage& message) { farSide->sendToHost (message); };
}

void VirtualPortsTest::holdFarSideInEachCall()
{
    endpoint.recorder.duringCall = [this]
    {
        farSideEntered.signal();
        farSideReleased.wait (5000);
    };
}
