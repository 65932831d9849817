#include "demo/DemoSetup.h"

#include "sim/SimulatedCommand.h"
#include "sim/SimulatedProduct.h"

namespace
{
    // The images of the reverbs fill 0x0000-0x13FF and 0x4000-0x4BFF, those of the
    // chorus 0x10000-0x121FF and 0x20000-0x200FF.
    const auto reverbMemory = SimulatedMemoryMap::covering (256, { { 0x0000, 0x2000 }, { 0x4000, 0x1000 } });
    const auto chorusMemory = SimulatedMemoryMap::covering (128, { { 0x10000, 0x2200 }, { 0x20000, 0x100 } });

    // Brand, family ID, product ID, product ID in update mode, port, name, version bytes
    // and memory. The Hall Reverb and the Chorus acknowledge the switch to update mode
    // and keep their product ID there, as the protocol allows; a device that switched
    // silently would keep the host waiting eight seconds for an acknowledgement that
    // never comes.
    const SimulatedProduct hallReverb { TargetBrand::Calvio, 0x05, 0x02, 0x02, "Calvio Hall Reverb", "Studio Hall",
                                        1, 0x10, reverbMemory };
    const SimulatedProduct plateReverb { TargetBrand::Calvio, 0x05, 0x03, 0x43, "Calvio Plate Reverb", "Vocal Plate",
                                         2, 0x00, reverbMemory };
    const SimulatedProduct chorus { TargetBrand::Brisma, 0x10, 0x03, 0x03, "Brisma Chorus", "Pedalboard",
                                    2, 0x30, chorusMemory };

    // Left there by an update that was interrupted.
    SimulatedDeviceConfig waitingInUpdateMode (SimulatedDeviceConfig config)
    {
        config.startsInUpdateMode = true;
        return config;
    }
}

DemoSetup DemoSetup::standard (bool atMidiSpeed)
{
    DemoSetup setup;
    setup.devices = { hallReverb.toConfig(), waitingInUpdateMode (plateReverb.toConfig()), chorus.toConfig() };

    for (auto& device : setup.devices)
        device.linkBytesPerSecond = atMidiSpeed ? SimulatedDeviceConfig::dinBytesPerSecond : 0.0;

    return setup;
}

void DemoSetup::makeWritesFail()
{
    SimulatedFault refusal;
    refusal.kind = SimulatedFault::Kind::errorReply;
    refusal.command = SimulatedCommand::writeBlock;
    refusal.first = 5;
    refusal.times = 3;
    refusal.errorCode = SimulatedErrorCode::failed;

    for (auto& device : devices)
        device.faults.push_back (refusal);
}
