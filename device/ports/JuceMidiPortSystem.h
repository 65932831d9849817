#pragma once

#include "device/ports/MidiPortSystem.h"

/** The operating system's MIDI ports, through JUCE.

    JUCE opens a device by its identifier. Each listing keeps the device infos it
    returned, and an index opens the device that stood at that position in the latest
    listing, by its identifier: a device plugged in or removed between the listing and
    the opening cannot shift the indices onto another device, and a device that has
    gone simply fails to open. Before the first listing no index opens anything.

    Through ALSA (Linux, BSD), JUCE reads every input of the process on one thread through
    one SysEx assembler, so its inputs are not read apart; on Windows and macOS each
    input has an assembler of its own.
*/
class JuceMidiPortSystem : public MidiPortSystem
{
public:
    JuceMidiPortSystem() = default;

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;
    bool readsInputsApart() const override;

private:
    juce::StringArray keepListing (juce::Array<juce::MidiDeviceInfo>& listing,
                                   const juce::Array<juce::MidiDeviceInfo>& devices);
    juce::String identifierAt (const juce::Array<juce::MidiDeviceInfo>& listing, int index) const;

    // Guards both listings: names may be taken on one worker and ports opened on another.
    juce::CriticalSection listingLock;
    juce::Array<juce::MidiDeviceInfo> inputs;
    juce::Array<juce::MidiDeviceInfo> outputs;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiPortSystem)
};
