#pragma once

#include "sim/ports/VirtualMidiPortSystem.h"
#include "tests/ports/RecordingEndpoint.h"
#include "tests/ports/RecordingMidiCallback.h"

#include <gtest/gtest.h>

/** One port name, "Pedal", as input 0 and output 0, with a recording far side attached.
    The host's ports are opened by openHostPorts. Members go in reverse order: the
    host's ports, then the connection, then the receivers, then the port system.
*/
class VirtualPortsTest : public ::testing::Test
{
protected:
    VirtualPortsTest();
    ~VirtualPortsTest() override;

    /** Opens input 0 and output 0, starts the input, and waits until the far side has
        heard of both openings (with the state at attaching, its first three events).
    */
    [[nodiscard]] ::testing::AssertionResult openHostPorts();

    /** Makes the far side send each message from the host straight back, through the
        connection attached now (so that replacing connection later races with nothing).
    */
    void echoToHost();

    /** Makes each call of the far side signal farSideEntered and then wait for
        farSideReleased (bounded, and released at the latest when the test ends).
    */
    void holdFarSideInEachCall();

    static constexpr int portEventsAfterOpening = 3;

    juce::WaitableEvent farSideEntered;
    juce::WaitableEvent farSideReleased { true };

    VirtualMidiPortSystem ports;
    RecordingEndpoint endpoint;
    RecordingMidiCallback host;
    std::unique_ptr<VirtualEndpointConnection> connection;
    std::unique_ptr<MidiInputPort> input;
    std::unique_ptr<MidiOutputPort> output;
};
