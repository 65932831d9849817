#pragma once

#include "device/ports/JuceMidiPortSystem.h"
#include "sequencer/SequencerServer.h"
#include "sequencer/devices/SequencerDeviceRack.h"

/** One simulated device plugged in over USB to the test sequencer, served in this
    process, and the program's own JUCE ports to reach it: the path a real update takes
    through JUCE's ALSA code, when the process runs with the stand-in libasound
    (LD_LIBRARY_PATH=<build>/sequencer). With the system's library JUCE lists no port, and
    findPorts fails.

    JUCE opens the sequencer once per process, so the socket's address is set in the
    environment before the first listing and kept; one object at a time. Owner's thread.
*/
class SequencerPorts
{
public:
    explicit SequencerPorts (SimulatedDeviceConfig config);
    ~SequencerPorts();

    MidiPortSystem& getPorts() noexcept;

    /** The indices of the device's input and output in the listings of getPorts, or
        false when JUCE lists no such port.
    */
    bool findPorts (int& input, int& output);

    const SimulatedDevice& getDevice() const;

private:
    const juce::TemporaryFile socket;
    const juce::String deviceName;
    SequencerKernel kernel;
    SequencerServer server;
    SequencerDeviceRack rack;
    JuceMidiPortSystem ports;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerPorts)
};
