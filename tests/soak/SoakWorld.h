#pragma once

#include "catalogue/TargetsInfo.h"
#include "device/TargetDevice.h"
#include "sim/ports/VirtualMidiPortSystem.h"
#include "server/LoopbackServer.h"
#include "sim/SimulatedDevice.h"
#include "tests/device/FlakyPortSystem.h"
#include "tests/soak/CountingPortSystem.h"
#include "tests/soak/SoakObservation.h"
#include "tests/soak/SoakScenario.h"

/** Runs complete updates one after another as the wizard's workers do: the catalogue
    read from the file beside the program, the MIDI ports scanned for the device, the
    image downloaded (from a loopback update server, or a file) and written into the
    device by the update worker.

    The server and the ports live as long as the world, so that what a run leaves
    behind shows in the next. Each run plugs its own simulated device in and unplugs
    it at the end. Message thread.
*/
class SoakWorld
{
public:
    SoakWorld();
    ~SoakWorld();

    SoakObservation run (const SoakScenario& scenario);

    /** Ports opened through the world and not closed yet. */
    int getOpenPorts() const noexcept { return countingPorts.getOpenPorts(); }

private:
    std::unique_ptr<TargetsInfo> fetchCatalogue (SoakObservation& seen);
    std::unique_ptr<juce::OwnedArray<TargetDevice>> scan (const TargetsInfo& catalogue, const ReplyTimeouts& timeouts,
                                                          SoakObservation& seen);
    std::unique_ptr<juce::MemoryBlock> download (const juce::String& url, SoakObservation& seen);
    void program (const SoakScenario& scenario, TargetDevice& device, const juce::MemoryBlock& image, SoakObservation& seen);
    void serve (const SoakScenario& scenario);
    void readDevice (const SoakScenario& scenario, const SimulatedDevice& simulated, SoakObservation& seen);

    static std::vector<juce::String> labelsOf (const std::vector<CountingPortSystem::Message>& messages);

    juce::TemporaryFile folderHolder;
    const juce::File folder;
    LoopbackServer server;
    VirtualMidiPortSystem ports;
    FlakyPortSystem flakyPorts { ports };
    CountingPortSystem countingPorts { flakyPorts };
    int messagesSent = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SoakWorld)
};
