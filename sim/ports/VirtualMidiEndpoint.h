#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** The far side of a virtual MIDI port: what a simulated device implements to hear the
    host. It is attached to a port name with VirtualMidiPortSystem::attach, and answers
    through the VirtualEndpointConnection that returns.

    Both operations are called on the connection's own delivery thread, one call at a
    time, in the order the events happened, and never after the connection is destroyed.
    An endpoint attached under several names is called from each connection's thread.
*/
class VirtualMidiEndpoint
{
public:
    virtual ~VirtualMidiEndpoint() = default;

    /** A message the host sent on an output of the attached name, its time stamp the
        moment it was sent (seconds of juce::Time::getMillisecondCounterHiRes). Taking
        time here (a slow link) delays the later messages to this endpoint, never the host.
    */
    virtual void messageFromHost (const juce::MidiMessage& message) = 0;

    /** How many inputs and outputs of the attached name the host has open: called once
        right after attaching, then after every opening and closing of one of them.
        A message the host sends after opening a port arrives after this call.
    */
    virtual void hostPortsChanged (int openInputs, int openOutputs)
    {
        juce::ignoreUnused (openInputs, openOutputs);
    }
};
