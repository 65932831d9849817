#pragma once

#include <cstdint>
#include <juce_core/juce_core.h>

#include "catalogue/TargetBrand.h"
#include "catalogue/TargetPort.h"
#include "catalogue/TargetRevision.h"

/** One updatable product of the catalogue, with the brand and family it belongs
    to folded in.

    Copies are deep: every revision and port is copied, in order, so a found device
    can keep its own product after the catalogue is gone.
*/
class TargetProduct
{
public:
    TargetProduct() = default;
    TargetProduct (const TargetProduct& other);
    TargetProduct& operator= (const TargetProduct& other);
    TargetProduct (TargetProduct&&) noexcept = default;
    TargetProduct& operator= (TargetProduct&&) noexcept = default;
    ~TargetProduct() = default;

    juce::String name;
    std::int32_t productId = 0;
    std::int32_t updateProductId = 0;
    std::int32_t familyId = 0;
    TargetBrand brand = TargetBrand::Other;
    juce::String specialPreInstructions;
    juce::OwnedArray<TargetRevision> revisions;
    juce::OwnedArray<TargetPort> ports;
};
