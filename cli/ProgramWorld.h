#pragma once

#include "cli/CliWorld.h"
#include "device/ports/JuceMidiPortSystem.h"

/** The computer's own MIDI ports, and the catalogue beside the program or on the
    update server, as the wizard has them.
*/
class ProgramWorld : public CliWorld
{
public:
    ProgramWorld() = default;

    MidiPortSystem& getPorts() override { return ports; }
    juce::StringArray getTargetsSources() override;
    std::optional<CatalogueSigner> getCatalogueSigner() const override;

private:
    JuceMidiPortSystem ports;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgramWorld)
};
