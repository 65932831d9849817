#include "demo/DemoOptions.h"

DemoOptions DemoOptions::parse (const juce::StringArray& arguments, const juce::File& workingFolder)
{
    DemoOptions options;

    if (arguments.isEmpty())
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
    return "Usage: quillon-demo [--autopilot | --snapshots DIR]\n"
           "  (no option)      the update wizard on simulated devices and a local update server\n"
           "  --autopilot      runs one complete update through the wizard's controls and prints each page;\n"
           "                   exits with 0 only when the update succeeded and the device holds the image\n"
           "  --snapshots DIR  saves a picture of every page and of every reachable result into DIR\n";
}
