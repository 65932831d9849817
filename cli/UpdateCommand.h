#pragma once

#include "cli/CliOptions.h"
#include "cli/CliWorld.h"
#include "cli/Console.h"
#include "cli/DeviceSurvey.h"

/** "update": the wizard's run without its pages. Finds the devices, picks one and a
    revision as the options say, shows the product's instructions and asks for
    confirmation, downloads the image and programs the device, each long step on the
    wizard's own worker, and ends with the results page's texts. Main thread.
*/
class UpdateCommand
{
public:
    UpdateCommand (const CliOptions& options, CliWorld& world, MidiPortSystem& ports, Console& console);

    ExitCode run (const juce::StringArray& sources);

private:
    // A device and revision picked, or the exit code when there are none to pick.
    struct Choice
    {
        TargetDevice* device = nullptr;
        const TargetRevision* revision = nullptr;
        std::optional<RunOutcome> failure;
    };

    Choice choose (const DeviceSurvey& survey) const;
    Choice chooseNamed (const DeviceSurvey& survey) const;
    const TargetRevision* findRevision (const TargetDevice& device) const;
    void announce (const Choice& choice, const DeviceSurvey& survey);
    std::optional<ExitCode> confirm (const Choice& choice);
    std::optional<RunOutcome> download (const Choice& choice, const DeviceSurvey& survey,
                                        std::unique_ptr<juce::MemoryBlock>& image);
    RunOutcome program (const Choice& choice, const juce::MemoryBlock& image);
    ExitCode end (const RunOutcome& outcome);

    const CliOptions& options;
    CliWorld& world;
    MidiPortSystem& ports;
    Console& console;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateCommand)
};
