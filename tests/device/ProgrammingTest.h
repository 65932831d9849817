#pragma once

#include "tests/device/ImageFileBuilder.h"
#include "tests/device/ScriptedEndpoint.h"
#include "tests/device/SimulatedTargetTest.h"

/** Programming a simulated device on "Pedal", with a silent far side on the same name
    that keeps track of the host's port openings.
*/
class ProgrammingTest : public SimulatedTargetTest
{
protected:
    /** The pedal with blocks of 256 bytes and the regions given. */
    static SimulatedDeviceConfig configWithRegions (std::vector<SimulatedRegion> regions);

    /** The pedal with one region at 0 of count blocks of 256 bytes. */
    static SimulatedDeviceConfig configOfBlocks (int count);

    /** The Brisma model that must have its ports closed and opened again after the
        switch into update mode, with one region at 0 of one block.
    */
    static SimulatedDeviceConfig reopeningBrismaConfig();

    /** An image of one record at 0 of count blocks of 256 bytes. */
    static juce::MemoryBlock imageOfBlocks (int count);

    /** A device of config's product on input 0 and output 0, not probed: it does not
        wait for an update and addresses any device ID.
    */
    std::unique_ptr<MidiTargetDevice> unprobedDevice (const SimulatedDeviceConfig& config, const ReplyTimeouts& timeouts = {});

    /** The product ID byte of every message simulated heard (Calvio messages). */
    static std::vector<int> productIdsHeardBy (const SimulatedDevice& simulated);

    /** True when the host opened the ports of "Pedal" once and closed them again. */
    bool portsWereOpenedOnceAndClosed() const;

    ScriptedEndpoint observer { ports, "Pedal" };
};
