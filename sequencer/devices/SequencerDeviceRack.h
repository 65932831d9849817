#pragma once

#include "sequencer/devices/SequencerUsbClient.h"

/** Simulated devices plugged into the kernel as into a Linux computer: each USB device
    is a client of its own named after it, with one port "<name> MIDI 1", at USB full
    speed; devices on DIN cables sit behind a USB-MIDI interface, a client with the ports
    "<interface> MIDI 1" and "<interface> MIDI 2", which they take in the order given
    (a third goes behind a second interface of the same kind), at DIN speed, their
    SysEx handed on a few bytes at a time as such an interface does.

    A device is named by its config's portName, the name its maker gives it, and keeps
    its own link latency where that is longer than the link's. Owner's thread.
*/
class SequencerDeviceRack
{
public:
    enum class Link
    {
        usb,
        din
    };

    struct Placement
    {
        SimulatedDeviceConfig config;
        Link link = Link::usb;
    };

    static constexpr const char* defaultInterfaceName = "USB2.0-MIDI";
    static constexpr int interfaceCables = 2;

    SequencerDeviceRack (SequencerKernel& kernel, std::vector<Placement> placements,
                         const juce::String& interfaceName = defaultInterfaceName);

    /** Detaches every device, then takes the clients out of the kernel. */
    ~SequencerDeviceRack();

    /** The device named name, also after it has vanished; nullptr when there is none. */
    const SimulatedDevice* findDevice (const juce::String& name) const;

    /** The names of the USB devices unplugged since the last call. */
    juce::StringArray takeNewlyUnplugged();

private:
    struct Slot
    {
        juce::String name;
        const SequencerDevice* device = nullptr;
        const SequencerUsbClient* client = nullptr;
        bool unplugsClient = false;
        bool unplugReported = false;
    };

    void plugInUsb (SimulatedDeviceConfig config);
    void plugInDin (SimulatedDeviceConfig config, const juce::String& interfaceName);
    void remember (const juce::String& name, const SequencerDevice& device, const SequencerUsbClient& client, bool unplugsClient);

    SequencerKernel& kernel;
    std::vector<std::unique_ptr<SequencerUsbClient>> clients;
    SequencerUsbClient* interface = nullptr;
    int interfaceCablesUsed = 0;
    std::vector<Slot> slots;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerDeviceRack)
};
