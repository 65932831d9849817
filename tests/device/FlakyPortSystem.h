#pragma once

#include "device/ports/MidiPortSystem.h"

#include <atomic>

/** Passes everything to another port system, except that inputs stop opening after a
    given number of openings, as when a device is unplugged between two of them.
    Any thread.
*/
class FlakyPortSystem : public MidiPortSystem
{
public:
    explicit FlakyPortSystem (MidiPortSystem& portsToUse);

    /** Lets count more inputs open; the ones after fail. */
    void failInputsAfter (int count);

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputPort> openInput (int index, juce::MidiInputCallback& callback) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

private:
    MidiPortSystem& ports;
    std::atomic<int> inputOpeningsLeft { -1 };   // negative: no limit
};
