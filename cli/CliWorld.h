#pragma once

#include "catalogue/CatalogueSigner.h"
#include "catalogue/TargetRevision.h"
#include "device/ReplyTimeouts.h"
#include "device/TargetDevice.h"
#include "device/ports/MidiPortSystem.h"

/** What quillon-cli works on: the computer's MIDI ports and update server, or the
    demo's simulated devices and local server. Made and used on the main thread; the
    ports are used from the workers as well.
*/
class CliWorld
{
public:
    virtual ~CliWorld() = default;

    virtual MidiPortSystem& getPorts() = 0;

    /** The places to fetch the catalogue from, in the order to try them. */
    virtual juce::StringArray getTargetsSources() = 0;

    /** Whose signature a catalogue from a server needs (with the record of what this
        user took of theirs before); none takes any.
    */
    virtual std::optional<CatalogueSigner> getCatalogueSigner() const = 0;

    /** How long the devices found wait for each reply. */
    virtual ReplyTimeouts getReplyTimeouts() const { return {}; }

    /** After device has been updated to revision: a line saying whether the device now
        holds the image, where this world can look inside it; empty where it cannot.
    */
    virtual juce::String checkUpdatedDevice (const TargetDevice&, const TargetRevision&) const { return {}; }
};
