#pragma once

#include <cstdint>

/** How fetching and parsing the targets file ended. */
enum class TargetsResult : std::int32_t
{
    TargetsOk = 0,          // catalogue built
    TargetsParseError = 1,  // a source delivered a text that is not a valid targets file
    TargetsEmpty = 2,       // a text was parsed but no catalogue resulted
    TargetsNotFound = 3     // no source delivered a text
};
