#pragma once

#include <juce_core/juce_core.h>

#include "catalogue/TargetProduct.h"

/** The catalogue of updatable products, in the order of the targets file (brand by
    brand, family by family). It lives only while devices are looked for; each found
    device keeps its own copy of its product.
*/
class TargetsInfo
{
public:
    TargetsInfo() = default;

    juce::OwnedArray<TargetProduct> products;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TargetsInfo)
};
