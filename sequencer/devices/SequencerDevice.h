#pragma once

#include "sequencer/SequencerKernel.h"
#include "sequencer/devices/SequencerMessageJoiner.h"
#include "sim/SimulatedDevice.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

/** A simulated device behind one port of a kernel client, as a USB-MIDI driver hosts a
    device's cable: the events sent to the port reach the device as the byte stream its
    MIDI input would receive, and what the device sends goes to the port's subscribers
    as the driver's events: a SysEx in pieces of at most sysexPiece bytes, which follow
    one another at the device's link speed, as their bytes would come off the wire.
    (The device's link has already taken the whole message's wire time before it is
    cut, so a reply in several pieces reaches the host that much later.)

    The device is attached to a virtual port pair of its own, so its link model and
    fault plan work as anywhere else. When it vanishes (its vanishAfterReply fault),
    whenVanished is called once, on a thread of this object's, to take its client away.
*/
class SequencerDevice : private juce::MidiInputCallback
{
public:
    /** whenVanished may be empty: the device then just falls silent. */
    SequencerDevice (SequencerKernel& kernel, snd_seq_addr_t address, SimulatedDeviceConfig config,
                     size_t sysexPiece, std::function<void()> whenVanished);
    ~SequencerDevice() override;

    /** An event sent to the device's port. Called by the port's client on the sending
        client's thread, possibly on several at once; it never waits for the device.
    */
    void eventArrived (const SequencerEvent& event);

    /** The simulated device, for its flash and transcript. Valid until detach. */
    const SimulatedDevice& getDevice() const noexcept;

    /** Takes the simulated device away, as a device switched off behind a driver that
        stays: events for the port go nowhere afterwards. Call it before the port's
        client leaves the kernel. Owner's thread.
    */
    void detach();

private:
    /** Called on the virtual input's delivery thread: what the device sends. */
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    std::chrono::microseconds wireTimeOf (const SequencerEvent& event) const;

    void watchForVanishing (std::function<void()> whenVanished);
    static bool canVanish (const SimulatedDeviceConfig& config);

    SequencerKernel& kernel;
    const snd_seq_addr_t address;
    const size_t sysexPiece;
    const double bytesPerSecond;
    VirtualMidiPortSystem ports;

    // The host's side of the device's wire. toDevice and joiner are guarded by
    // toDeviceLock, since several senders' threads may deliver to the port at once.
    std::mutex toDeviceLock;
    std::unique_ptr<MidiOutputPort> toDevice;
    SequencerMessageJoiner joiner;
    std::unique_ptr<MidiInputPort> fromDevice;

    std::unique_ptr<SimulatedDevice> device;

    // Set by the owner's thread as it detaches the device: ends the watcher, which checks
    // it between its waits, and drops the pieces of a message not yet handed on.
    std::atomic<bool> detaching { false };
    std::thread watcher;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerDevice)
};
