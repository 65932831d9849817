#pragma once

#include "cli/CliOptions.h"
#include "cli/CliWorld.h"
#include "cli/Console.h"
#include "cli/DeviceSurvey.h"

class UpdateFlow;

/** "update": the wizard's run without its pages. Finds the devices, picks one and a
    revision as the options say, shows the product's instructions and asks for
    confirmation, then runs the wizard's own update flow (download, programming) and
    ends with the results page's texts. Main thread.
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
        std::optional<UpdateOutcome> failure;
    };

    Choice choose (const DeviceSurvey& survey) const;
    Choice chooseNamed (const DeviceSurvey& survey) const;
    void announce (const Choice& choice, const DeviceSurvey& survey);
    bool confirm (const Choice& choice);
    void runSteps (UpdateFlow& flow);
    ExitCode end (const UpdateOutcome& outcome);

    const CliOptions& options;
    CliWorld& world;
    MidiPortSystem& ports;
    Console& console;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateCommand)
};
