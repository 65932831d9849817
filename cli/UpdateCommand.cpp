#include "cli/UpdateCommand.h"

#include "cli/Confirmation.h"
#include "cli/DeviceChoice.h"
#include "cli/DeviceFacts.h"
#include "cli/Json.h"
#include "cli/StepRunner.h"
#include "cli/TerminalText.h"
#include "flow/RevisionChoice.h"
#include "flow/UpdateFlow.h"
#include "flow/UpdateTexts.h"

namespace
{
    UpdateOutcome noUpdate (const juce::String& note)
    {
        return { UpdateEnd::noUpdate, {}, {}, juce::StringArray (note) };
    }
}

UpdateCommand::UpdateCommand (const CliOptions& optionsToUse, CliWorld& worldToUse, MidiPortSystem& portsToUse,
                              Console& consoleToUse)
    : options (optionsToUse),
      world (worldToUse),
      ports (portsToUse),
      console (consoleToUse)
{
}

ExitCode UpdateCommand::run (const juce::StringArray& sources)
{
    // Refused before anything is looked for: a script would otherwise learn only after
    // the whole scan that it forgot --yes.
    if (! options.yes && Confirmation::refuseWithoutTerminal())
        return ExitCode::usage;

    DeviceSurvey survey (ports, world.getReplyTimeouts(), console);

    if (const auto failure = survey.run (sources, world.getCatalogueSigner()))
        return end (*failure);

    const auto choice = choose (survey);

    if (choice.failure.has_value())
        return end (*choice.failure);

    announce (choice, survey);
    UpdateFlow flow (*choice.device, *choice.revision, survey.getImageSources());

    if (confirm (choice))
        runSteps (flow);
    else
        flow.cancel();

    auto outcome = flow.getOutcome();

    if (outcome.end == UpdateEnd::succeeded)
    {
        outcome.notes.add (world.checkUpdatedDevice (*choice.device, *choice.revision));
        outcome.notes.removeEmptyStrings();
    }

    return end (outcome);
}

ExitCode UpdateCommand::end (const UpdateOutcome& outcome)
{
    console.printOutcome (outcome);
    return exitCodeFor (outcome.end);
}

//==============================================================================
UpdateCommand::Choice UpdateCommand::choose (const DeviceSurvey& survey) const
{
    if (options.device.isNotEmpty())
        return chooseNamed (survey);

    for (auto* device : survey.getDevices())
        if (const auto* revision = RevisionChoice::choose (*device, options.version))
            return { device, revision, std::nullopt };

    return { nullptr, nullptr, noUpdate (options.version.isNotEmpty() ? "No device found has version " + options.version
                                                                        + " in the catalogue." : juce::String()) };
}

UpdateCommand::Choice UpdateCommand::chooseNamed (const DeviceSurvey& survey) const
{
    const auto matches = DeviceChoice::findNamed (survey.getDevices(), options.device);

    if (matches.size() != 1)
    {
        const auto note = (matches.isEmpty() ? "No device found is " : "Several devices found are ")
                          + options.device.quoted() + "; \"quillon-cli devices\" lists them by number.";
        return { nullptr, nullptr, UpdateOutcome { UpdateEnd::noDevices, {}, {}, juce::StringArray (note) } };
    }

    auto* device = matches.getFirst();

    if (const auto* revision = RevisionChoice::choose (*device, options.version))
        return { device, revision, std::nullopt };

    return { nullptr, nullptr, noUpdate (options.version.isNotEmpty() ? "The catalogue has no version " + options.version
                                                                        + " for this device." : juce::String()) };
}

void UpdateCommand::announce (const Choice& choice, const DeviceSurvey& survey)
{
    const auto number = survey.getDevices().indexOf (choice.device) + 1;
    const auto& instructions = choice.device->product.specialPreInstructions;

    if (console.isJson())
    {
        console.printJson (Json::object ({ { "device", DeviceFacts::toJson (*choice.device, number, survey) },
                                           { "revision", DeviceFacts::toJson (*choice.revision) },
                                           { "preInstructions", instructions } }));
        return;
    }

    const auto& revision = *choice.revision;
    console.print ("Device: " + DeviceFacts::describe (*choice.device, number, survey));
    console.print ("Version: " + TerminalText::visible (revision.version) + ", released " + TerminalText::visible (revision.releaseDate));

    if (revision.releaseNotesUrl.isNotEmpty())
        console.print ("Release notes: " + TerminalText::visible (revision.releaseNotesUrl));

    if (instructions.isNotEmpty())
        console.print ("Prepare to Update:\n" + TerminalText::visible (instructions));
}

bool UpdateCommand::confirm (const Choice& choice)
{
    if (options.yes)
        return true;

    const auto question = juce::String (UpdateTexts::settingsWarning) + "\n"
                          + UpdateTexts::confirmationQuestion (TerminalText::visible (choice.device->getDisplayName()),
                                                              TerminalText::visible (choice.revision->version))
                          + "\n" + UpdateTexts::acknowledgement;

    switch (Confirmation::ask (question, console.isJson()))
    {
        case Confirmation::Answer::yes:         return true;
        case Confirmation::Answer::no:
        case Confirmation::Answer::interrupted: break;
    }

    return false;
}

//==============================================================================
void UpdateCommand::runSteps (UpdateFlow& flow)
{
    while (flow.getStep() != UpdateFlow::Step::ended)
    {
        const auto worker = flow.makeWorker (nullptr, &console, &console);
        const bool finished = StepRunner::run (*worker);
        flow.workerEnded (*worker, finished);
        console.endStep();
    }
}
