#pragma once

#include "sim/ports/MidiDeliveryThread.h"
#include "sim/ports/VirtualMidiEndpoint.h"

#include <memory>

class VirtualMidiBus;

/** A far side's attachment to one port name, returned by VirtualMidiPortSystem::attach.
    It owns the thread that calls the endpoint.

    Destroying it detaches the endpoint, as if the device were unplugged: what the host
    sends afterwards goes nowhere, what was still queued for the endpoint is dropped, and
    once the destructor has returned the endpoint is never called again. It must not be
    destroyed from inside a call to its endpoint. It may outlive the VirtualMidiPortSystem.
*/
class VirtualEndpointConnection
{
public:
    VirtualEndpointConnection (std::shared_ptr<VirtualMidiBus> bus,
                               const juce::String& portName,
                               VirtualMidiEndpoint& endpoint);
    ~VirtualEndpointConnection();

    /** Sends message to every host input of this name that is open and started now.
        Any thread; it does not wait for the host to handle it.
    */
    void sendToHost (const juce::MidiMessage& message);

private:
    friend class VirtualMidiBus;

    // Called by the bus under its lock: queue the call for the delivery thread.
    void deliverFromHost (const juce::MidiMessage& message);
    void deliverPortsChanged (int openInputs, int openOutputs);

    std::shared_ptr<VirtualMidiBus> bus;
    const juce::String portName;
    VirtualMidiEndpoint& endpoint;
    MidiDeliveryThread delivery;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualEndpointConnection)
};
