#include "cli/CliOptions.h"

#include <optional>

namespace
{
    // The commands each option belongs to, as "devices updates update".
    struct OptionUse
    {
        const char* name;
        const char* commands;
        bool takesValue;
    };

    constexpr OptionUse optionUses[] = {
        { "--json",      "devices updates update", false },
        { "--all",       "updates update",         false },
        { "--yes",       "update",                 false },
        { "--demo",      "devices updates update", false },
        { "--device",    "update",                 true },
        { "--version",   "update",                 true },
        { "--catalogue", "devices updates update", true },
        { "--trace",     "devices updates update", true },
    };

    const OptionUse* findOption (const juce::String& name)
    {
        for (const auto& use : optionUses)
            if (name == use.name)
                return &use;

        return nullptr;
    }

    bool isWebAddress (const juce::String& source)
    {
        return source.contains ("://");
    }

    void setOption (CliOptions& options, const juce::String& name, const juce::String& value, const juce::File& folder)
    {
        if (name == "--json")           options.json = true;
        else if (name == "--all")       options.all = true;
        else if (name == "--yes")       options.yes = true;
        else if (name == "--demo")      options.demo = true;
        else if (name == "--device")    options.devices.add (options.device = value);
        else if (name == "--version")   options.version = value;
        else if (name == "--trace")     options.traceFile = folder.getChildFile (value);
        else if (name == "--catalogue") options.catalogue = isWebAddress (value) ? value : folder.getChildFile (value).getFullPathName();
    }

    std::optional<CliOptions::Command> findCommand (const juce::String& word)
    {
        if (word == "devices") return CliOptions::Command::devices;
        if (word == "updates") return CliOptions::Command::updates;
        if (word == "update")  return CliOptions::Command::update;
        return std::nullopt;
    }

    CliOptions failed (const juce::String& error)
    {
        CliOptions options;
        options.error = error;
        return options;
    }
}

CliOptions CliOptions::parse (const juce::StringArray& arguments, const juce::File& workingFolder)
{
    CliOptions options;
    juce::String commandWord;
    juce::StringArray given;

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];

        if (argument == "--help" || argument == "-h")
            return options;

        if (const auto* use = findOption (argument))
        {
            if (use->takesValue && (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()))
                return failed (argument + " needs a value");

            setOption (options, argument, use->takesValue ? arguments[++i] : juce::String(), workingFolder);
            given.add (argument);
        }
        else if (argument.startsWith ("-"))
        {
            return failed ("unknown option " + argument);
        }
        else if (commandWord.isNotEmpty())
        {
            return failed ("one command at a time: " + commandWord + " or " + argument);
        }
        else if (! findCommand (argument).has_value())
        {
            return failed ("unknown command " + argument);
        }
        else
        {
            commandWord = argument;
        }
    }

    if (commandWord.isEmpty())
        return failed ("no command given (devices, updates or update)");

    for (const auto& name : given)
        if (! juce::StringArray::fromTokens (findOption (name)->commands, false).contains (commandWord))
            return failed (name + " does not go with " + commandWord);

    options.command = *findCommand (commandWord);

    // Every device with an update, or those named: one reading at a time.
    if (options.command == Command::update && options.all && ! options.devices.isEmpty())
        return failed ("--all and --device do not go together: --all updates every device that has an update");

    return options;
}

juce::String CliOptions::usage()
{
    return "Usage: quillon-cli [--catalogue FILE|URL] [--demo] [--trace FILE] COMMAND [OPTIONS]\n"
           "\n"
           "quillon-cli " QUILLON_VERSION " updates the firmware of Calvio and Brisma devices\n"
           "connected over MIDI.\n"
           "\n"
           "Commands:\n"
           "  devices [--json]         the MIDI ports, and the devices found on them: brand, product,\n"
           "                           name, version, and whether each waits in update mode\n"
           "  updates [--all] [--json] for each device its newest update, or with --all every\n"
           "                           revision of its product; and where the catalogue came from\n"
           "  update [--device N|NAME] [--version V] [--yes] [--json]\n"
           "                           updates one device (the first with an update, or N as\n"
           "                           \"devices\" numbers them, or the one with that name) to its\n"
           "                           newest version or to V; asks for confirmation unless --yes,\n"
           "                           and only on a terminal\n"
           "  update --all [--version V] [--yes] [--json]\n"
           "  update --device N|NAME --device N|NAME ... [--version V] [--yes] [--json]\n"
           "                           updates every device that has an update (or V), or each\n"
           "                           device named; side by side where they are on ports of their\n"
           "                           own (but one after another through Linux's ALSA, where all\n"
           "                           MIDI inputs are read as one), one after another where they\n"
           "                           share one; asks once for them all; a device that fails does\n"
           "                           not stop the others; ends with a table of the devices and how\n"
           "                           each ended\n"
           "\n"
           "Options:\n"
           "  --catalogue FILE|URL     reads the catalogue from here instead of the file\n"
           "                           UpdateTargets.xml beside the program or the update server\n"
           "  --demo                   simulated devices on in-process MIDI ports and a local\n"
           "                           update server, as quillon-demo has them\n"
           "  --trace FILE             writes every MIDI message sent and received, with the time\n"
           "                           in milliseconds since the start, and every status text,\n"
           "                           into FILE: a regular file, emptied first, or a pipe\n"
           "  --json                   \"devices\" and \"updates\" print one JSON document; \"update\"\n"
           "                           prints one JSON object a line: status, progress, outcome;\n"
           "                           with several devices each of those carries its device, and\n"
           "                           a summary line ends them\n"
           "  --help                   this text\n"
           "\n"
           "Ctrl-C stops a scan or a download at once; during programming the device stops\n"
           "after its current block, waits in update mode, and is found again by the next run.\n"
           "With several devices Ctrl-C stops each of them so, and the table says where each\n"
           "was left: not changed, waiting in update mode, or updated. SIGTERM (kill, timeout,\n"
           "a service manager) and SIGHUP (the terminal closed) stop it as Ctrl-C does.\n"
           "\n"
           "Exit codes:\n"
           "  0  success, or nothing to do        5  the catalogue is invalid\n"
           "  1  usage error                      6  the download failed\n"
           "  2  no devices found                 7  the update failed\n"
           "  3  no update available              8  cancelled\n"
           "  4  the catalogue cannot be reached\n"
           "With several devices the exit code is the worst device's: the highest code, except\n"
           "that a cancel (8) ranks below a failure (7, then 6).\n";
}
