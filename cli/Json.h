#pragma once

#include <juce_core/juce_core.h>

#include <initializer_list>
#include <utility>

/** Builds the JSON objects quillon-cli prints, properties in the order given. */
struct Json
{
    static juce::var object (std::initializer_list<std::pair<const char*, juce::var>> properties);
};
