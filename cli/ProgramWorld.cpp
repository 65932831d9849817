#include "cli/ProgramWorld.h"

#include "catalogue/TargetsSources.h"

juce::StringArray ProgramWorld::getTargetsSources()
{
    return TargetsSources::forThisProgram (juce::Time::getCurrentTime());
}
