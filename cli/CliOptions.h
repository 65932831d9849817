#pragma once

#include <juce_core/juce_core.h>

/** What quillon-cli was asked to do on its command line. */
struct CliOptions
{
    enum class Command
    {
        help,
        devices,
        updates,
        update
    };

    /** arguments without the program's name. Relative paths are taken from
        workingFolder. When the command line is wrong, error says why.
    */
    static CliOptions parse (const juce::StringArray& arguments, const juce::File& workingFolder);

    /** The text of --help, with the exit codes. */
    static juce::String usage();

    /** update with --all, or with --device given more than once: several devices in one run. */
    bool updatesSeveralDevices() const noexcept { return command == Command::update && (all || devices.size() > 1); }

    Command command = Command::help;
    bool json = false;
    bool all = false;           // updates: every revision; update: every device with an update
    bool yes = false;
    bool demo = false;
    juce::String device;        // --device: a number from "devices", or a name; the last one given
    juce::StringArray devices;  // every --device, in the order given
    juce::String version;       // --version
    juce::String catalogue;     // --catalogue: a URL, or an absolute path
    juce::File traceFile;       // --trace; juce::File() when not given
    juce::String error;
};
