#include "platform/UserConfigFolder.h"

juce::File UserConfigFolder::ofThisUser()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}
