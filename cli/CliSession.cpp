#include "cli/CliSession.h"

#include "catalogue/FileDownloader.h"
#include "cli/BatchUpdateCommand.h"
#include "cli/DeviceFacts.h"
#include "cli/Json.h"
#include "cli/TerminalText.h"
#include "cli/UpdateCommand.h"

#include <algorithm>

namespace
{
    bool anyHasUpdate (const juce::OwnedArray<TargetDevice>& devices)
    {
        return std::any_of (devices.begin(), devices.end(), [] (auto* device) { return device->findNewestUpdate() != nullptr; });
    }

    juce::var toJsonArray (const juce::StringArray& names)
    {
        juce::Array<juce::var> array;

        for (const auto& name : names)
            array.add (name);

        return array;
    }
}

CliSession::CliSession (const CliOptions& optionsToUse, CliWorld& worldToUse, MidiPortSystem& portsToUse,
                        Console& consoleToUse)
    : options (optionsToUse),
      world (worldToUse),
      ports (portsToUse),
      console (consoleToUse)
{
}

ExitCode CliSession::run()
{
    // The user's slip, told as such: the results page for a catalogue that cannot be
    // read speaks of a server.
    if (options.catalogue.isNotEmpty() && FileDownloader::isLocalFile (options.catalogue)
        && ! juce::File (options.catalogue).exists())
    {
        Console::printError ("the catalogue file " + TerminalText::visible (options.catalogue) + " does not exist");
        return ExitCode::catalogueUnreachable;
    }

    switch (options.command)
    {
        case CliOptions::Command::devices: return listDevices();
        case CliOptions::Command::updates: return listUpdates();
        case CliOptions::Command::update:  return update();
        case CliOptions::Command::help:    break;
    }

    return ExitCode::usage;
}

ExitCode CliSession::update()
{
    if (options.updatesSeveralDevices())
        return BatchUpdateCommand (options, world, ports, console).run (getSources());

    return UpdateCommand (options, world, ports, console).run (getSources());
}

juce::StringArray CliSession::getSources()
{
    return options.catalogue.isNotEmpty() ? juce::StringArray { options.catalogue } : world.getTargetsSources();
}

ExitCode CliSession::end (const UpdateOutcome& outcome)
{
    console.printOutcome (outcome);
    return exitCodeFor (outcome.end);
}

//==============================================================================
ExitCode CliSession::listDevices()
{
    DeviceSurvey survey (ports, world.getReplyTimeouts(), console);
    const auto failure = survey.run (getSources(), world.getCatalogueSigner());

    // Without a catalogue nothing was scanned, so there are no ports to show either.
    if (failure.has_value() && failure->end != UpdateEnd::noDevices)
        return end (*failure);

    const auto& devices = survey.getDevices();

    if (console.isJson())
    {
        juce::Array<juce::var> found;

        for (int i = 0; i < devices.size(); ++i)
            found.add (DeviceFacts::toJson (*devices[i], i + 1, survey));

        auto document = Json::object ({ { "inputs", toJsonArray (survey.getInputNames()) },
                                        { "outputs", toJsonArray (survey.getOutputNames()) },
                                        { "devices", found } });

        if (failure.has_value())
            document.getDynamicObject()->setProperty ("outcome", Console::toJson (*failure));

        console.printJson (document);
        return failure.has_value() ? exitCodeFor (failure->end) : ExitCode::success;
    }

    printPorts (survey);

    if (failure.has_value())
        return end (*failure);

    console.print ("Devices:");

    for (int i = 0; i < devices.size(); ++i)
        console.print (DeviceFacts::describe (*devices[i], i + 1, survey));

    return ExitCode::success;
}

void CliSession::printPorts (const DeviceSurvey& survey)
{
    for (const auto& [heading, names] : { std::pair { "MIDI inputs:", survey.getInputNames() },
                                          std::pair { "MIDI outputs:", survey.getOutputNames() } })
    {
        console.print (heading);

        if (names.isEmpty())
            console.print ("   (none)");

        for (const auto& name : names)
            console.print ("   " + TerminalText::visible (name));
    }
}

//==============================================================================
ExitCode CliSession::listUpdates()
{
    DeviceSurvey survey (ports, world.getReplyTimeouts(), console);

    if (const auto failure = survey.run (getSources(), world.getCatalogueSigner()))
        return end (*failure);

    const auto& devices = survey.getDevices();
    const bool updatesFound = anyHasUpdate (devices);
    const auto noUpdates = UpdateOutcome::of (UpdateEnd::noUpdate);

    if (console.isJson())
    {
        juce::Array<juce::var> list;

        for (int i = 0; i < devices.size(); ++i)
            list.add (updatesToJson (*devices[i], i + 1, survey));

        auto document = Json::object ({ { "catalogue", survey.getCatalogueSource() }, { "devices", list } });

        if (! updatesFound)
            document.getDynamicObject()->setProperty ("outcome", Console::toJson (noUpdates));

        console.printJson (document);
        return updatesFound ? ExitCode::success : ExitCode::noUpdate;
    }

    console.print ("Catalogue: " + TerminalText::visible (survey.getCatalogueSource()));

    for (int i = 0; i < devices.size(); ++i)
        printUpdates (*devices[i], i + 1);

    return updatesFound ? ExitCode::success : end (noUpdates);
}

void CliSession::printUpdates (const TargetDevice& device, int number)
{
    console.print (juce::String (number) + ". " + TerminalText::visible (device.getDisplayName()));
    const auto* newest = device.findNewestUpdate();

    if (! options.all)
    {
        console.print (newest != nullptr ? "   update: " + describeRevision (*newest) : juce::String ("   up to date"));
        return;
    }

    for (const auto* revision : device.product.revisions)
    {
        auto line = "   " + describeRevision (*revision);

        if (revision == newest)
            line << "  (newest update)";
        else if (revision->version == device.getVersion())
            line << "  (installed)";

        console.print (line);
    }
}

juce::String CliSession::describeRevision (const TargetRevision& revision)
{
    auto text = TerminalText::visible (revision.version) + ", released " + TerminalText::visible (revision.releaseDate);

    if (revision.releaseNotesUrl.isNotEmpty())
        text << ", notes: " << TerminalText::visible (revision.releaseNotesUrl);

    return text;
}

juce::var CliSession::updatesToJson (const TargetDevice& device, int number, const DeviceSurvey& survey) const
{
    auto entry = DeviceFacts::toJson (device, number, survey);
    const auto* newest = device.findNewestUpdate();
    entry.getDynamicObject()->setProperty ("newestUpdate", newest != nullptr ? DeviceFacts::toJson (*newest) : juce::var());

    if (options.all)
    {
        juce::Array<juce::var> revisions;

        for (const auto* revision : device.product.revisions)
            revisions.add (DeviceFacts::toJson (*revision));

        entry.getDynamicObject()->setProperty ("revisions", revisions);
    }

    return entry;
}
