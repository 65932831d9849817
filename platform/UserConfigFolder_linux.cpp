#include "platform/UserConfigFolder.h"

juce::File UserConfigFolder::ofThisUser()
{
    // Not JUCE's userApplicationDataDirectory: on Linux it reads ~/.config/user-dirs.dirs
    // alone and never $XDG_CONFIG_HOME. A relative value is ignored, as the rule says: it
    // would name another folder in every working directory. JUCE would take "~/..." for
    // an absolute path; the rule does not.
    const auto chosen = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});

    if (chosen.startsWithChar ('/'))
        return juce::File (chosen);

    return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config");
}
