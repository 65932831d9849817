#pragma once

#include "sim/ports/VirtualMidiPortSystem.h"
#include "sim/SimulatedDeviceConfig.h"
#include "sim/SimulatedFaultPlan.h"
#include "sim/SimulatedFirmware.h"
#include "sim/SimulatedLink.h"
#include "sim/SimulatedTranscript.h"

#include <atomic>
#include <memory>
#include <thread>

/** An effects device at the far end of a virtual MIDI port, answering the update
    protocol as the real one does, with the faults its configuration asks for.

    It attaches to the ports named config.portName when it is made, and hears and answers
    on the connection's delivery thread. Tests read its transcript, flash and mode from
    their own thread while it runs. Destroying it detaches it first: after the destructor
    it is never called again, and a wait of its link (latency, a slow wire) is cut short.
*/
class SimulatedDevice : private VirtualMidiEndpoint
{
public:
    SimulatedDevice (VirtualMidiPortSystem& ports, SimulatedDeviceConfig config);
    ~SimulatedDevice() override;

    const SimulatedDeviceConfig& getConfig() const noexcept;

    /** Every message heard and sent. Any thread. */
    const SimulatedTranscript& getTranscript() const noexcept;

    /** The flash from address on, up to length bytes (fewer where the flash ends). Any thread. */
    std::vector<juce::uint8> readFlash (juce::uint32 address, juce::uint32 length) const;

    /** Any thread. */
    bool isInUpdateMode() const noexcept;

    /** Waits up to timeoutMs for the device to have detached itself (a vanish fault);
        once this is true, nothing the host sends reaches it. Any thread.
    */
    bool waitUntilVanished (int timeoutMs) const;

private:
    /** Called on the connection's delivery thread, like the next one. */
    void messageFromHost (const juce::MidiMessage& message) override;
    void hostPortsChanged (int openInputs, int openOutputs) override;

    void respond (const SimulatedRequest& request);
    void send (const std::vector<juce::MidiMessage>& messages);
    void vanish();
    void detach();

    const SimulatedDeviceConfig config;
    SimulatedTranscript transcript;
    SimulatedFirmware firmware;
    SimulatedFaultPlan faults;
    SimulatedLink link;

    // Set, under connectionLock, when the device vanishes or is being destroyed; read by
    // every thread.
    std::atomic<bool> vanished { false };
    juce::WaitableEvent detached { true };

    // Started at most once, by the delivery thread under connectionLock (a connection
    // cannot be destroyed from inside its own delivery); joined by the destructor.
    std::thread detacher;

    // Guards connection and the start of detacher. Held while sending, so never while
    // waiting for a delivery.
    juce::CriticalSection connectionLock;
    std::unique_ptr<VirtualEndpointConnection> connection;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedDevice)
};
