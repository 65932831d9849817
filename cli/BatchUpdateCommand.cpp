#include "cli/BatchUpdateCommand.h"

#include "cli/Confirmation.h"
#include "cli/DeviceFacts.h"
#include "cli/Json.h"
#include "cli/JsonDeviceLines.h"
#include "cli/OutcomeTable.h"
#include "cli/PlainDeviceLines.h"
#include "cli/StepRunner.h"
#include "cli/TerminalText.h"
#include "flow/UpdateTexts.h"

BatchUpdateCommand::BatchUpdateCommand (const CliOptions& optionsToUse, CliWorld& worldToUse, MidiPortSystem& portsToUse,
                                        Console& consoleToUse)
    : options (optionsToUse),
      world (worldToUse),
      ports (portsToUse),
      console (consoleToUse)
{
}

ExitCode BatchUpdateCommand::run (const juce::StringArray& sources)
{
    if (! options.yes && Confirmation::refuseWithoutTerminal())
        return ExitCode::usage;

    DeviceSurvey survey (ports, world.getReplyTimeouts(), console);

    if (const auto failure = survey.run (sources, world.getCatalogueSigner()))
        return end (*failure);

    const DeviceChoice choice (survey.getDevices(), options.devices, options.version);

    if (choice.getUsageError().isNotEmpty())
    {
        Console::printError (choice.getUsageError());
        return ExitCode::usage;
    }

    if (const auto& failure = choice.getFailure())
        return end (*failure);

    announce (choice.getEntries(), survey);

    if (! confirm (choice.getEntries()))
        return end ({ UpdateEnd::cancelled, {}, {}, { "No device was changed." } });

    return update (choice.getEntries(), survey);
}

ExitCode BatchUpdateCommand::end (const UpdateOutcome& outcome)
{
    console.printOutcome (outcome);
    return exitCodeFor (outcome.end);
}

//==============================================================================
void BatchUpdateCommand::announce (const Entries& entries, const DeviceSurvey& survey)
{
    if (! console.isJson())
        console.print ("Devices to update:");

    for (const auto& entry : entries)
    {
        const auto& revision = *entry.revision;
        const auto& instructions = entry.device->product.specialPreInstructions;

        if (console.isJson())
        {
            console.printJson (Json::object ({ { "device", DeviceFacts::toJson (*entry.device, entry.number, survey) },
                                               { "revision", DeviceFacts::toJson (revision) },
                                               { "preInstructions", instructions } }));
            continue;
        }

        console.print (juce::String (entry.number) + ". " + TerminalText::visible (entry.device->getDisplayName())
                       + " to version " + TerminalText::visible (revision.version) + ", released "
                       + TerminalText::visible (revision.releaseDate));

        if (revision.releaseNotesUrl.isNotEmpty())
            console.print ("   Release notes: " + TerminalText::visible (revision.releaseNotesUrl));

        if (instructions.isNotEmpty())
            console.print ("   Prepare to Update:\n      " + TerminalText::visible (instructions));
    }
}

bool BatchUpdateCommand::confirm (const Entries& entries)
{
    if (options.yes)
        return true;

    const auto question = juce::String (UpdateTexts::settingsWarning) + "\n"
                          + "Are you sure you want to update these " + juce::String (entries.size())
                          + " devices to the firmware versions shown?\n" + UpdateTexts::acknowledgement;

    return Confirmation::ask (question, console.isJson()) == Confirmation::Answer::yes;
}

//==============================================================================
ExitCode BatchUpdateCommand::update (const Entries& entries, const DeviceSurvey& survey)
{
    UpdateBatch batch;
    const auto onBoard = console.getStyle() == Console::Style::terminal && LiveBoard::fits (entries.size());

    for (const auto& entry : entries)
    {
        auto& reporter = makeReporter (entry, onBoard);
        batch.add (std::make_unique<UpdateFlow> (*entry.device, *entry.revision, survey.getImageSources()),
                   { &reporter, &reporter });
    }

    runUntilEnded (batch);

    OutcomeTable table (console);

    for (int i = 0; i < batch.size(); ++i)
    {
        const auto& flow = batch.getFlow (i);
        auto outcome = flow.getOutcome();

        if (outcome.end == UpdateEnd::succeeded)
            outcome.notes.add (world.checkUpdatedDevice (flow.getDevice(), flow.getRevision()));

        outcome.notes.removeEmptyStrings();
        table.add ({ &flow.getDevice(), entries[i].number, flow.getRevision().version, outcome });
    }

    return table.print();
}

// Ctrl-C stops every worker, as it stops the one of a single update.
void BatchUpdateCommand::runUntilEnded (UpdateBatch& batch)
{
    batch.start();
    StepRunner::runUntilEnded ({ [&batch] { return batch.serviceWorkers(); },
                                 [&batch] { batch.stop(); },
                                 [&batch] (int ms) { batch.waitForWorkers (ms); } });
}

// A terminal the board does not fit gets whole lines, as a file does.
DeviceReporter& BatchUpdateCommand::makeReporter (const DeviceChoice::Entry& entry, bool onBoard)
{
    const auto label = DeviceReporter::labelOf (*entry.device, entry.number);

    switch (console.getStyle())
    {
        case Console::Style::terminal:
        case Console::Style::plain:
            if (onBoard)
                return board.addRow (console, label);

            return *lines.add (std::make_unique<PlainDeviceLines> (console, label));
        case Console::Style::json:
            break;
    }

    return *lines.add (std::make_unique<JsonDeviceLines> (console, *entry.device, entry.number));
}
