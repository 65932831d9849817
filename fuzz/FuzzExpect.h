#pragma once

#include <cstdio>
#include <cstdlib>

/** Ends the run, as a crash the fuzzer keeps the input of, when a property that every
    input must have does not hold.
*/
inline void fuzzExpect (bool holds, const char* property)
{
    if (holds)
        return;

    std::fprintf (stderr, "Property broken: %s\n", property);
    std::abort();
}
