#pragma once

#include <cstdint>
#include <juce_core/juce_core.h>

/** A MIDI port name under which devices of a product appear. A port whose name
    contains name is a candidate; count limits how many such ports are tried.
*/
struct TargetPort
{
    juce::String name;
    std::int32_t count = 1;
};
