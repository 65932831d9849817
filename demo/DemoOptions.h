#pragma once

#include <juce_core/juce_core.h>

/** What the demo was asked to do on its command line. The real program takes no
    arguments; only the demo reads any.
*/
struct DemoOptions
{
    enum class Mode
    {
        interactive,    // no arguments: the wizard, for a person to use
        autopilot,      // --autopilot: one complete update, driven through the controls
        snapshots,      // --snapshots DIR: a picture of every page, then exit
        invalid         // anything else
    };

    /** arguments without the program's name. A relative DIR is taken from workingFolder. */
    static DemoOptions parse (const juce::StringArray& arguments, const juce::File& workingFolder);

    static juce::String usage();

    Mode mode = Mode::interactive;
    juce::File snapshotFolder;

    /** --tampered-image, with the wizard or the autopilot: the server hands out one image
        with a byte changed, which the program must refuse.
    */
    bool tamperedImage = false;
};
