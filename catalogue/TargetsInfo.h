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

    /** True only when the text came from a local path, not from a web server: what a
        server's catalogue may name is narrower than what a local file may.
    */
    bool cameFromLocalFile = false;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TargetsInfo)
};
