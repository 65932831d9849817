#include "cli/UpdateCommand.h"

#include "cli/Confirmation.h"
#include "cli/DeviceFacts.h"
#include "cli/Json.h"
#include "cli/StepRunner.h"
#include "cli/TerminalText.h"
#include "flow/DownloadImageThread.h"
#include "flow/UpdateTexts.h"
#include "flow/UpdateThread.h"

#include <atomic>

namespace
{
    RunOutcome outcome (UpdateResult result, ExitCode code, const juce::String& details = {},
                        const juce::StringArray& notes = {})
    {
        return { result, code, details, {}, notes };
    }

    // Passes progress on, and notes whether any block was written: from then on the
    // device is certainly in update mode. Update worker; read once it has ended.
    class BlockWatch : public ProgressReporter
    {
    public:
        explicit BlockWatch (ProgressReporter& reporterToUse) : reporter (reporterToUse) {}

        void reportProgress (double fraction) override
        {
            if (fraction >= 0.0)
                blockWritten = true;

            reporter.reportProgress (fraction);
        }

        std::atomic<bool> blockWritten { false };

    private:
        ProgressReporter& reporter;
    };

    // The programming sequence ends its step with "Update failed" however it stopped,
    // also when told to exit, and the outcome then says "Update Cancelled". What it
    // reports once told to exit is held back for the outcome to pass on or drop.
    // Update worker; held is read once it has ended.
    class StatusAfterStop : public StatusReporter
    {
    public:
        explicit StatusAfterStop (StatusReporter& reporterToUse) : reporter (reporterToUse) {}

        void reportStatus (const juce::String& text) override
        {
            if (juce::Thread::currentThreadShouldExit())
                held = text;
            else
                reporter.reportStatus (text);
        }

        void passHeldOn()
        {
            if (held.isNotEmpty())
                reporter.reportStatus (held);
        }

    private:
        StatusReporter& reporter;
        juce::String held;
    };

    juce::String describeLeftState (bool blockWritten)
    {
        if (blockWritten)
            return "The device is waiting in update mode and will be found again: run the update again to finish it.";

        // Stopped while the device was being switched: it may have switched without
        // its acknowledgement having been read.
        return "The device may be waiting in update mode; it will be found again either way, "
               "and an update from there finishes it.";
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
    if (! options.yes && ! Confirmation::canAsk())
    {
        Console::printError ("standard input is not a terminal, so there is nobody to ask for confirmation;"
                             " give --yes to update without asking");
        return ExitCode::usage;
    }

    DeviceSurvey survey (ports, world.getReplyTimeouts(), console);

    if (const auto failure = survey.run (sources, world.getCatalogueSigner()))
        return end (*failure);

    const auto choice = choose (survey);

    if (choice.failure.has_value())
        return end (*choice.failure);

    announce (choice, survey);

    if (const auto refused = confirm (choice))
        return *refused;

    std::unique_ptr<juce::MemoryBlock> image;

    if (const auto failure = download (choice, survey, image))
        return end (*failure);

    return end (program (choice, *image));
}

ExitCode UpdateCommand::end (const RunOutcome& runOutcome)
{
    console.printOutcome (runOutcome);
    return runOutcome.exitCode;
}

//==============================================================================
UpdateCommand::Choice UpdateCommand::choose (const DeviceSurvey& survey) const
{
    if (options.device.isNotEmpty())
        return chooseNamed (survey);

    for (auto* device : survey.getDevices())
        if (const auto* revision = findRevision (*device))
            return { device, revision, std::nullopt };

    const auto note = options.version.isNotEmpty() ? "No device found has version " + options.version + " in the catalogue."
                                                   : juce::String();
    return { nullptr, nullptr, outcome (UpdateResult::NoUpdatesFound, ExitCode::noUpdate, {}, juce::StringArray (note)) };
}

UpdateCommand::Choice UpdateCommand::chooseNamed (const DeviceSurvey& survey) const
{
    const auto& devices = survey.getDevices();
    juce::Array<TargetDevice*> matches;

    if (options.device.containsOnly ("0123456789"))
        matches.addIfNotAlreadyThere (devices[options.device.getIntValue() - 1]);

    for (auto* device : devices)
        if (device->getDeviceName().equalsIgnoreCase (options.device) || device->product.name.equalsIgnoreCase (options.device))
            matches.addIfNotAlreadyThere (device);

    matches.removeAllInstancesOf (nullptr);

    if (matches.size() != 1)
    {
        const auto note = (matches.isEmpty() ? "No device found is " : "Several devices found are ")
                          + options.device.quoted() + "; \"quillon-cli devices\" lists them by number.";
        return { nullptr, nullptr, outcome (UpdateResult::NoDevicesFound, ExitCode::noDevices, {}, juce::StringArray (note)) };
    }

    auto* device = matches.getFirst();

    if (const auto* revision = findRevision (*device))
        return { device, revision, std::nullopt };

    const auto note = options.version.isNotEmpty() ? "The catalogue has no version " + options.version + " for this device."
                                                   : juce::String();
    return { nullptr, nullptr, outcome (UpdateResult::NoUpdatesFound, ExitCode::noUpdate, {}, juce::StringArray (note)) };
}

// A version asked for is taken as the wizard takes any revision the user picks from the
// full list, older ones too; otherwise only the newest, and only when it is newer.
const TargetRevision* UpdateCommand::findRevision (const TargetDevice& device) const
{
    if (options.version.isEmpty())
        return device.findNewestUpdate();

    for (const auto* revision : device.product.revisions)
        if (revision->version == options.version)
            return revision;

    return nullptr;
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

std::optional<ExitCode> UpdateCommand::confirm (const Choice& choice)
{
    if (options.yes)
        return std::nullopt;

    const auto question = juce::String (UpdateTexts::settingsWarning) + "\n"
                          + UpdateTexts::confirmationQuestion (TerminalText::visible (choice.device->getDisplayName()),
                                                              TerminalText::visible (choice.revision->version))
                          + "\n" + UpdateTexts::acknowledgement;

    switch (Confirmation::ask (question, console.isJson()))
    {
        case Confirmation::Answer::yes:         return std::nullopt;
        case Confirmation::Answer::no:
        case Confirmation::Answer::interrupted: break;
    }

    return end (outcome (UpdateResult::UpdateCancelled, ExitCode::cancelled, {}, { "The device was not changed." }));
}

//==============================================================================
std::optional<RunOutcome> UpdateCommand::download (const Choice& choice, const DeviceSurvey& survey,
                                                   std::unique_ptr<juce::MemoryBlock>& image)
{
    DownloadImageThread thread (choice.revision->imageUrl, survey.getImageSources(), nullptr, &console,
                                ExpectedImage (*choice.revision));
    const bool finished = StepRunner::run (thread);
    console.endStep();

    const juce::StringArray untouched { "The device was not changed." };

    if (! finished)
        return outcome (UpdateResult::UpdateCancelled, ExitCode::cancelled, {}, untouched);

    // The wizard's results for each way a download fails; all of them leave the device
    // as it was.
    switch (thread.getStatus())
    {
        case DownloadImageThread::ImageOk:
            image = thread.takeImage();
            return std::nullopt;
        case DownloadImageThread::ImageRefused:
        case DownloadImageThread::ImageMismatched:
            return outcome (UpdateResult::UpdateFailed, ExitCode::downloadFailed, thread.getErrorMessage(), untouched);
        case DownloadImageThread::ImageInvalid:
        case DownloadImageThread::ImageNotDownloaded:
            break;
    }

    return outcome (UpdateResult::UnableToConnect, ExitCode::downloadFailed, {}, untouched);
}

RunOutcome UpdateCommand::program (const Choice& choice, const juce::MemoryBlock& image)
{
    juce::MemoryInputStream stream (image, false);
    BlockWatch progress (console);
    StatusAfterStop status (console);
    UpdateThread thread (*choice.device, stream, nullptr, &status, &progress);
    const bool finished = StepRunner::run (thread);

    // Ctrl-C after the last block changes nothing: the update is complete.
    const bool complete = thread.getStatus() == UpdateThread::UpdateOk;

    if (complete)
        status.passHeldOn();

    console.endStep();

    if (complete)
    {
        RunOutcome succeeded { UpdateResult::UpdateSucceeded, ExitCode::success, {},
                               choice.revision->specialPostInstructions, {} };
        succeeded.notes.add (world.checkUpdatedDevice (*choice.device, *choice.revision));
        succeeded.notes.removeEmptyStrings();
        return succeeded;
    }

    if (! finished)
        return outcome (UpdateResult::UpdateCancelled, ExitCode::cancelled, {}, { describeLeftState (progress.blockWritten) });

    return outcome (UpdateResult::UpdateFailed, ExitCode::updateFailed, thread.getErrorMessage());
}
