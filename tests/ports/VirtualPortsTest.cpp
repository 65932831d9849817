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

void VirtualPortsTest::openHostPorts()
{
    input = ports.openInput (0, host);
    output = ports.openOutput (0);
    ASSERT_NE (input, nullptr);
    ASSERT_NE (output, nullptr);
    input->start();
    ASSERT_TRUE (endpoint.recorder.waitForCalls (portEventsAfterOpening));
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
