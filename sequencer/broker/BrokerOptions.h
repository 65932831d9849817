#pragma once

#include "sequencer/devices/SequencerDeviceRack.h"

/** What quillon-sequencer was asked to do:

        quillon-sequencer --socket PATH [--device NAME:usb|din]... [--unplug-after-writes NAME:N]
                          [--expect-flash NAME=IMAGEFILE]... [--log FILE] [--interface NAME]

    NAME is one of the demo's devices, by the name its maker gives it ("Calvio Hall
    Reverb"); without --device all of them are plugged in over USB. --interface names
    the USB-MIDI interface the DIN devices sit behind.
*/
struct BrokerOptions
{
    struct Expectation
    {
        juce::String device;
        juce::File image;
    };

    /** arguments without the program's name; relative paths are taken from
        workingFolder. When the command line is wrong, error says why.
    */
    static BrokerOptions parse (const juce::StringArray& arguments, const juce::File& workingFolder);

    static juce::String usage();

    juce::String socketPath;
    std::vector<SequencerDeviceRack::Placement> placements;
    std::vector<Expectation> expectations;
    juce::File logFile;     // juce::File() for standard output
    juce::String interfaceName { SequencerDeviceRack::defaultInterfaceName };
    juce::String error;
};
