#pragma once

#include "device/ports/MidiOutputPort.h"

#include <juce_core/juce_core.h>

#include <memory>

class VirtualMidiBus;

/** A host output of the virtual backend: each message sent reaches every far side
    attached to its name, on each one's own thread, after sendMessageNow has returned.
    Messages already sent still arrive after the port is closed, as on a real wire.
*/
class VirtualMidiOutputPort : public MidiOutputPort
{
public:
    VirtualMidiOutputPort (std::shared_ptr<VirtualMidiBus> bus, const juce::String& name);
    ~VirtualMidiOutputPort() override;

    void sendMessageNow (const juce::MidiMessage& message) override;

private:
    std::shared_ptr<VirtualMidiBus> bus;
    const juce::String name;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualMidiOutputPort)
};
