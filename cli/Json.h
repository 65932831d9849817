#pragma once

#include <juce_core/juce_core.h>

#include <initializer_list>
#include <utility>

/** Builds the JSON objects quillon-cli prints, properties in the order given, and
    writes them.

    Written here rather than by JUCE's writer, which writes BEL as "\a", an escape no
    JSON parser takes. Every control character (C0, DEL and C1) in a string is written
    as \u00XX, and anything that is not a Unicode scalar value as U+FFFD; other
    characters are written as UTF-8.
*/
struct Json
{
    static juce::var object (std::initializer_list<std::pair<const char*, juce::var>> properties);

    /** value as JSON text: on one line, or laid out over several with two spaces of
        indent a level. Objects must be DynamicObjects.
    */
    static juce::String toString (const juce::var& value, bool oneLine);
};
