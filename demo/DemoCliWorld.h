#pragma once

#include "cli/CliWorld.h"
#include "demo/DemoWorld.h"

/** quillon-cli --demo: the demo's world (its simulated devices at MIDI speed, and its
    local update server), which can also look into a device's flash after an update.
    Main thread, as DemoWorld.
*/
class DemoCliWorld : public CliWorld
{
public:
    /** The demo's standard world at MIDI speed, or a variant of it. */
    explicit DemoCliWorld (const DemoSetup& setup = DemoSetup::standard (true));

    MidiPortSystem& getPorts() override;
    juce::StringArray getTargetsSources() override;
    std::optional<CatalogueSigner> getCatalogueSigner() const override;

    /** "Device flash equals the image inside its regions: yes" (or "no"), as the demo's
        autopilot says it.
    */
    juce::String checkUpdatedDevice (const TargetDevice& device, const TargetRevision& revision) const override;

private:
    DemoWorld world;
    UpdateEnvironment environment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DemoCliWorld)
};
