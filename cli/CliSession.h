#pragma once

#include "cli/CliOptions.h"
#include "cli/CliWorld.h"
#include "cli/Console.h"
#include "cli/DeviceSurvey.h"

/** One command of quillon-cli, from the catalogue to what it prints. Main thread. */
class CliSession
{
public:
    /** ports are the world's, or a tracing view of them; all must outlive the session. */
    CliSession (const CliOptions& options, CliWorld& world, MidiPortSystem& ports, Console& console);

    ExitCode run();

private:
    ExitCode listDevices();
    ExitCode listUpdates();
    ExitCode update();
    ExitCode end (const UpdateOutcome& outcome);
    juce::StringArray getSources();
    void printPorts (const DeviceSurvey& survey);
    void printUpdates (const TargetDevice& device, int number);
    juce::var updatesToJson (const TargetDevice& device, int number, const DeviceSurvey& survey) const;
    static juce::String describeRevision (const TargetRevision& revision);

    const CliOptions& options;
    CliWorld& world;
    MidiPortSystem& ports;
    Console& console;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CliSession)
};
