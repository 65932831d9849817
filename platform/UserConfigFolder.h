#pragma once

#include <juce_core/juce_core.h>

/** Where the settings of the user running the program belong. */
struct UserConfigFolder
{
    /** On Linux the XDG base directory rule's folder: $XDG_CONFIG_HOME when it is an
        absolute path, else ~/.config. On Windows JUCE's userApplicationDataDirectory,
        %APPDATA%. The folder may not exist yet.
    */
    static juce::File ofThisUser();
};
