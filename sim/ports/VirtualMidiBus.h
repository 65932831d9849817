#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <map>

class VirtualEndpointConnection;
class VirtualMidiInputPort;

/** The wiring behind the virtual ports: for each port name, the host inputs that are
    listening, the far sides attached, and how many host inputs and outputs are open.
    It only routes: every delivery is queued on the receiver's own thread.

    Shared (std::shared_ptr) by the port system and every port and connection made from
    it, so that any of them may be destroyed first. Ports and connections register in
    their constructors, or start, and unregister before they are destroyed. Any thread.

    Lock order: a receiver's delivery lock (a callback may send), then this bus's lock,
    then a receiver's queue lock. The bus never waits for a receiver.
*/
class VirtualMidiBus
{
public:
    VirtualMidiBus() = default;

    void inputOpened (const juce::String& name);
    void inputClosed (const juce::String& name);
    void outputOpened (const juce::String& name);
    void outputClosed (const juce::String& name);

    void startListening (const juce::String& name, VirtualMidiInputPort& input);
    void stopListening (const juce::String& name, VirtualMidiInputPort& input);

    void attach (const juce::String& name, VirtualEndpointConnection& connection);
    void detach (const juce::String& name, VirtualEndpointConnection& connection);

    void sendFromHost (const juce::String& name, const juce::MidiMessage& message);
    void sendToHost (const juce::String& name, const juce::MidiMessage& message);

private:
    struct Wire
    {
        juce::Array<VirtualMidiInputPort*> listeningInputs;
        juce::Array<VirtualEndpointConnection*> connections;
        int openInputs = 0;
        int openOutputs = 0;
    };

    void changeOpenCount (const juce::String& name, int Wire::* count, int change);

    // Guards wires and everything in them.
    juce::CriticalSection lock;
    std::map<juce::String, Wire> wires;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualMidiBus)
};
