#pragma once

#include "demo/DemoWorld.h"
#include "wizard/UpdateWizard.h"

/** The demo window's content: one demo world and the update wizard wired to it, at the
    wizard's size.

    Message thread. A world may be replaced only while its wizard runs no task (on any
    page but the scan, download and programming pages), since a task's modal loop
    runs inside the wizard.
*/
class DemoStage : public juce::Component
{
public:
    DemoStage() = default;

    /** Replaces the world and the wizard with new ones; quit is what "Done" does. */
    UpdateWizard& load (const DemoSetup& setup, std::function<void()> quit);

    /** Both nullptr before the first load. */
    UpdateWizard* getWizard() const noexcept { return wizard.get(); }
    DemoWorld* getWorld() const noexcept { return world.get(); }

private:
    // The wizard goes before the world whose ports and server it uses.
    std::unique_ptr<DemoWorld> world;
    std::unique_ptr<UpdateWizard> wizard;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DemoStage)
};
