#pragma once

#include <juce_core/juce_core.h>

/** Bytes 0, 1, 2 ... 255, 0, 1 ... of the given size: every chunk differs from its neighbours. */
inline juce::MemoryBlock makeTestData (size_t size)
{
    juce::MemoryBlock data (size);

    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char> (i & 0xFF);

    return data;
}
