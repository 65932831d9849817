#include "cli/ProgramWorld.h"

#include "catalogue/TargetsSources.h"

std::optional<CataloguePublicKey> ProgramWorld::getCatalogueSigner() const
{
    return CataloguePublicKey::builtIn();
}

juce::StringArray ProgramWorld::getTargetsSources()
{
    return TargetsSources::forThisProgram (juce::Time::getCurrentTime());
}
