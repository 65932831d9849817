#include "demo/DemoOptions.h"

DemoOptions DemoOptions::parse (const juce::StringArray& givenArguments, const juce::File& workingFolder)
{
    DemoOptions options;
    auto arguments = givenArguments;

    // A change to the world, so it goes with either way of running the wizard; the
    // snapshot tour sets up worlds of its own.
    if (arguments.contains ("--tampered-image"))
    {
        arguments.removeString ("--tampered-image");
        options.tamperedImage = true;
        options.mode = arguments.contains ("--snapshots") ? Mode::invalid : options.mode;
    }

    if (options.mode == Mode::invalid || arguments.isEmpty())
        return options;

    if (arguments.size() == 1 && arguments[0] == "--autopilot")
    {
        options.mode = Mode::autopilot;
    }
    else if (arguments.size() == 2 && arguments[0] == "--snapshots" && arguments[1].isNotEmpty())
    {
        options.mode = Mode::snapshots;
        options.snapshotFolder = workingFolder.getChildFile (arguments[1]);
    }
    else
    {
        options.mode = Mode::invalid;
    }

    return options;
}

juce::String DemoOptions::usage()
{
    return "Usage: quillon-demo [--autopilot] [--tampered-image] | --snapshots DIR\n"
           "  (no option)       the update wizard on simulated devices and a local update server\n"
           "  --autopilot       runs one complete update through the wizard's controls and prints each page;\n"
           "                    exits with 0 only when the update succeeded and the device holds the image\n"
           "  --tampered-image  the server hands out the Hall Reverb's 1.21 image with one byte changed, while\n"
           "                    the signed catalogue keeps its genuine size and digest: the update fails before\n"
           "                    the device is touched\n"
           "  --snapshots DIR   saves a picture of every page and of every reachable result into DIR\n";
}
