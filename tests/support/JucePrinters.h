#pragma once

#include <juce_graphics/juce_graphics.h>

#include <ostream>

// How GoogleTest shows JUCE values in its failure messages; found by argument lookup.
namespace juce
{
    inline void PrintTo (const String& s, std::ostream* os)            { *os << '"' << s << '"'; }
    inline void PrintTo (const Rectangle<int>& r, std::ostream* os)    { *os << r.toString(); }
}
