#pragma once

#include "device/ports/MidiPortSystem.h"
#include "sim/ports/VirtualEndpointConnection.h"
#include "sim/ports/VirtualPortList.h"

class VirtualMidiBus;

/** In-process MIDI ports for the tests and the demo, where the computer has none.

    The host side sees two lists, inputs and outputs, filled independently and in any
    order with addInput and addOutput. The far side (a simulated device) attaches a
    VirtualMidiEndpoint to a port name: it hears what the host sends on every output of
    that name and can send to every started host input of that name. Several endpoints
    may share a name; each hears every message. A name with no endpoint is a port with
    nothing plugged in.

    Lifetime: ports and connections made here share the wiring with this object, so they
    may be closed before or after it is destroyed. Any thread.
*/
class VirtualMidiPortSystem : public MidiPortSystem
{
public:
    VirtualMidiPortSystem();

    /** Adds a host input named name and returns its index in getInputNames. */
    int addInput (const juce::String& name);

    /** Adds a host output named name and returns its index in getOutputNames. */
    int addOutput (const juce::String& name);

    /** Makes opening the input (output) at index return nullptr, or work again. */
    void setInputFailsToOpen (int index, bool shouldFail);
    void setOutputFailsToOpen (int index, bool shouldFail);

    /** Attaches endpoint to the ports named portName until the connection is destroyed.
        The endpoint must outlive the connection.
    */
    std::unique_ptr<VirtualEndpointConnection> attach (const juce::String& portName, VirtualMidiEndpoint& endpoint);

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

private:
    VirtualPortList inputs;
    VirtualPortList outputs;
    const std::shared_ptr<VirtualMidiBus> bus;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualMidiPortSystem)
};
