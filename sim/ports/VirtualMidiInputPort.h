#pragma once

#include "sim/ports/MidiDeliveryThread.h"
#include "device/ports/MidiInputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

class VirtualMidiBus;

/** A host input of the virtual backend. What the far sides of its name send while it is
    started is handed to the callback on this port's own delivery thread, with nullptr
    as the source (there is no juce::MidiInput behind it) and the arrival time, in
    seconds on the millisecond counter, as the time stamp, as JUCE's input thread does.

    A SysEx message longer than maxSysexBytes is dropped as it arrives, never queued.

    stop waits for a callback that is running and drops what has not been delivered yet;
    destroying the port stops it first.
*/
class VirtualMidiInputPort : public MidiInputPort
{
public:
    VirtualMidiInputPort (std::shared_ptr<VirtualMidiBus> bus,
                          const juce::String& name,
                          juce::MidiInputCallback& callback);
    ~VirtualMidiInputPort() override;

    void start() override;
    void stop() override;

private:
    friend class VirtualMidiBus;

    // Called by the bus under its lock, on the far side's thread: queue the message.
    void deliverFromFarSide (const juce::MidiMessage& message);

    std::shared_ptr<VirtualMidiBus> bus;
    const juce::String name;
    juce::MidiInputCallback& callback;
    MidiDeliveryThread delivery;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualMidiInputPort)
};
