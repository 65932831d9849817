#include "demo/DemoStage.h"

UpdateWizard& DemoStage::load (const DemoSetup& setup, std::function<void()> quit)
{
    wizard.reset();
    world = std::make_unique<DemoWorld> (setup);
    wizard = std::make_unique<UpdateWizard> (world->makeEnvironment (std::move (quit)));

    addAndMakeVisible (*wizard);
    setSize (wizard->getWidth(), wizard->getHeight());
    wizard->setBounds (getLocalBounds());
    return *wizard;
}
