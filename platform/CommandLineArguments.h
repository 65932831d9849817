#pragma once

#include <juce_core/juce_core.h>

/** The arguments a command-line program was started with, as the user typed them,
    whatever their characters.
*/
class CommandLineArguments
{
public:
    /** main's arguments without the program's name. On Windows they are taken from the
        system's own UTF-16 command line instead, since argv there is in the ANSI code
        page, which loses any character outside it, such as a Cyrillic folder name.
    */
    static juce::StringArray of (int argc, const char* const* argv);
};
