#pragma once

#include "cli/CliOptions.h"
#include "cli/CliWorld.h"
#include "cli/Console.h"
#include "cli/DeviceChoice.h"
#include "cli/DeviceReporter.h"
#include "cli/DeviceSurvey.h"
#include "cli/LiveBoard.h"
#include "flow/UpdateBatch.h"

/** "update --all", or "update" with several --device: finds the devices, picks those
    to update, shows them all with their versions and their products' instructions and
    asks once, then updates them side by side (one after another on a shared port pair),
    each device reporting on lines of its own, and ends with a table of how each ended.
    Main thread.
*/
class BatchUpdateCommand
{
public:
    BatchUpdateCommand (const CliOptions& options, CliWorld& world, MidiPortSystem& ports, Console& console);

    ExitCode run (const juce::StringArray& sources);

private:
    using Entries = juce::Array<DeviceChoice::Entry>;

    void announce (const Entries& entries, const DeviceSurvey& survey);
    bool confirm (const Entries& entries);
    ExitCode update (const Entries& entries, const DeviceSurvey& survey);
    void runUntilEnded (UpdateBatch& batch);
    DeviceReporter& makeReporter (const DeviceChoice::Entry& entry, bool onBoard);
    ExitCode end (const UpdateOutcome& outcome);

    const CliOptions& options;
    CliWorld& world;
    MidiPortSystem& ports;
    Console& console;

    // Each device's reporter, made before its workers and kept until the command ends.
    LiveBoard board;
    juce::OwnedArray<DeviceReporter> lines;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BatchUpdateCommand)
};
