#pragma once

#include "sim/SimulatedMemoryMap.h"

#include <functional>

/** Whether a device's flash holds a firmware image file: every byte of the image whose
    address lies inside one of the device's regions is compared with the flash at that
    address. Bytes outside the regions are never written, so they are not compared.

    The image is read here by a reader of its own, so that a fault in the program's
    image reader cannot hide itself.
*/
struct FlashCheck
{
    /** Up to length bytes of the flash from address on. */
    using FlashReader = std::function<std::vector<juce::uint8> (juce::uint32 address, juce::uint32 length)>;

    /** False also when imageFile is not a whole firmware image, or when none of its
        bytes lies inside a region (nothing to compare is no proof).
    */
    static bool matches (const juce::MemoryBlock& imageFile, const std::vector<SimulatedRegion>& regions,
                         const FlashReader& readFlash);
};
