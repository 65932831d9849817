#pragma once

#include "device/MidiTargetDevice.h"
#include "device/ports/JuceMidiPortSystem.h"
#include "sequencer/devices/SequencerDeviceRack.h"
#include "tests/sequencer/SequencerWorld.h"

#include <gtest/gtest.h>

/** Simulated devices plugged into this process's test sequencer, reached by the
    program's own port layer through JUCE's ALSA code and the stand-in library. Each
    test's devices are unplugged when it ends.
*/
class SequencerRackTest : public ::testing::Test
{
protected:
    SequencerRackTest();

    /** The demo's device of that name, as DemoSetup makes it. */
    static SimulatedDeviceConfig demoDevice (const juce::String& name);

    void plugIn (std::vector<SequencerDeviceRack::Placement> placements);

    /** The devices our scanner finds over JUCE's ports for products, each a catalogue
        product of config's IDs with the port name given.
    */
    std::unique_ptr<juce::OwnedArray<TargetDevice>> scan (const std::vector<std::pair<SimulatedDeviceConfig, juce::String>>& products,
                                                          const ReplyTimeouts& timeouts);

    /** The client whose name is name in the kernel now; -1 when there is none. */
    int clientNamed (const std::string& name) const;

    /** The names of the ports the user clients (this process's JUCE among them) hold
        once they have settled (bounded).
    */
    std::vector<std::string> userPortsLeft() const;

    SequencerKernel& kernel;
    JuceMidiPortSystem ports;
    std::unique_ptr<SequencerDeviceRack> rack;
};
