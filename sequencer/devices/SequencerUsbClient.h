#pragma once

#include "sequencer/devices/SequencerDevice.h"

#include <mutex>

/** A USB-MIDI device or interface as the kernel shows it: a client named after it, with
    one port per MIDI cable named "<name> MIDI 1", "<name> MIDI 2", ... A simulated device
    can be plugged into each port; a port without one hears everything and answers
    nothing, as a DIN socket with no cable.

    Destroying it detaches its devices first, then takes its client out of the kernel.
*/
class SequencerUsbClient : private KernelClientReceiver
{
public:
    static constexpr unsigned portCapabilities = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE
                                                 | SND_SEQ_PORT_CAP_SUBS_READ | SND_SEQ_PORT_CAP_SUBS_WRITE;
    static constexpr unsigned portType = SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE
                                         | SND_SEQ_PORT_TYPE_PORT;

    SequencerUsbClient (SequencerKernel& kernel, const juce::String& name, int numPorts);
    ~SequencerUsbClient() override;

    /** The name the kernel gives cable index (from 0) of a client named clientName. */
    static juce::String portName (const juce::String& clientName, int index);

    /** What is plugged into a cable. */
    enum class Plug
    {
        usbDevice,  // the device itself: its SysEx in the driver's largest pieces, and
                    // when it vanishes it takes the whole client with it (pulled out)
        dinCable    // a device on the interface's DIN socket: its SysEx handed on a few
                    // bytes at a time, and when it vanishes only it goes (cable pulled)
    };

    /** Plugs a device into cable index, attached there under the port's name. Owner's
        thread, once per cable.
    */
    const SequencerDevice& plugIn (int index, SimulatedDeviceConfig config, Plug plug);

    int getClient() const noexcept;
    int getNumPorts() const noexcept;
    const juce::String& getName() const noexcept;

    /** Whether the client has left the kernel. Any thread. */
    bool isUnplugged() const noexcept;

    /** Takes the client out of the kernel, as when its USB plug is pulled; harmless
        when already done. Any thread but a receiver's.
    */
    void unplug();

private:
    /** Called on the sending client's thread. */
    void eventArrived (int port, const SequencerEvent& event) override;

    SequencerKernel& kernel;
    const juce::String name;

    // One slot per cable, its index the port's number. Guarded by devicesLock, which
    // eventArrived holds while it hands an event on (never waiting for the device).
    std::mutex devicesLock;
    std::vector<std::unique_ptr<SequencerDevice>> devices;

    std::atomic<bool> unplugged { false };

    // Last: once the client is in the kernel, events may arrive.
    const int client;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerUsbClient)
};
