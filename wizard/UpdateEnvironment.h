#pragma once

#include "catalogue/CatalogueSigner.h"
#include "device/ReplyTimeouts.h"
#include "device/ports/MidiPortSystem.h"

#include <functional>

/** What the wizard takes from the world around it, so that the program, the demo and
    the tests can each hand it their own: the MIDI ports, how long a device is waited
    for, where the targets file is looked for and whose signature it needs, and what
    "Done" does.
*/
struct UpdateEnvironment
{
    /** The MIDI ports to scan; must outlive the wizard. */
    MidiPortSystem& midiPorts;

    /** How long the devices found wait for each reply. */
    ReplyTimeouts replyTimeouts;

    /** The places to fetch the targets file from, in the order to try them; called
        afresh for every scan, on the message thread.
    */
    std::function<juce::StringArray()> targetsSources;

    /** Whose signature a catalogue from a server needs (with the record of what this
        user took of theirs before); none takes any catalogue.
    */
    std::optional<CatalogueSigner> catalogueSigner;

    /** Ends the program; called on the message thread. */
    std::function<void()> quit;
};
