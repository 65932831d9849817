#pragma once

#include "sim/SimulatedDeviceConfig.h"

/** A device described by the catalogue product it is, for a demo that needs a few
    devices matching its catalogue. The models with quirks of their own (the Calvio
    0x1A/2 that answers an identity request twice, the Brisma 0x5C/4 that waits for
    its ports to be reopened in update mode) get them from their IDs.
*/
struct SimulatedProduct
{
    SimulatedDeviceConfig toConfig() const;

    TargetBrand brand = TargetBrand::Calvio;
    juce::uint8 familyId = 0x01;
    juce::uint8 productId = 0x01;
    juce::uint8 updateProductId = 0x01;
    juce::String portName;
    juce::String name;
    juce::uint8 versionB0 = 1;
    juce::uint8 versionB1 = 0;
    SimulatedMemoryMap memoryMap;
};
