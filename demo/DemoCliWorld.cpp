#include "demo/DemoCliWorld.h"

DemoCliWorld::DemoCliWorld (const DemoSetup& setup)
    : world (setup),
      environment (world.makeEnvironment ({}))
{
}

MidiPortSystem& DemoCliWorld::getPorts()
{
    return environment.midiPorts;
}

std::optional<CatalogueSigner> DemoCliWorld::getCatalogueSigner() const
{
    return environment.catalogueSigner;
}

juce::StringArray DemoCliWorld::getTargetsSources()
{
    return environment.targetsSources();
}

juce::String DemoCliWorld::checkUpdatedDevice (const TargetDevice& device, const TargetRevision& revision) const
{
    return juce::String ("Device flash equals the image inside its regions: ")
           + (world.flashHoldsImage (device, revision) ? "yes" : "no");
}
