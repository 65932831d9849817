#pragma once

#include <cstdint>

/** The maker's brand of a catalogue product: it selects the MIDI manufacturer ID
    of the product's messages. Only the exact brand names of the targets file give
    Calvio or Brisma; any other name gives Other.
*/
enum class TargetBrand : std::int32_t
{
    Other = 0,
    Calvio = 1,
    Brisma = 2
};
