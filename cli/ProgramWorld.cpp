#include "cli/ProgramWorld.h"

#include "catalogue/TargetsSources.h"

std::optional<CatalogueSigner> ProgramWorld::getCatalogueSigner() const
{
    return CatalogueSigner::builtIn();
}

juce::StringArray ProgramWorld::getTargetsSources()
{
    return TargetsSources::forThisProgram (juce::Time::getCurrentTime());
}
