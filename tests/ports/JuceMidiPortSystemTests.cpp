#include "device/ports/JuceMidiPortSystem.h"
#include "tests/ports/RecordingMidiCallback.h"

#include <gtest/gtest.h>

namespace
{
    juce::String namesOf (const juce::Array<juce::MidiDeviceInfo>& devices)
    {
        juce::StringArray names;

        for (const auto& device : devices)
            names.add (device.name);

        return names.joinIntoString ("|");
    }
}

// Machines without MIDI hardware (the build machines) list nothing at all.
TEST (JuceMidiPortSystem, ListsJucesDevicesInJucesOrder)
{
    JuceMidiPortSystem ports;

    EXPECT_EQ (ports.getInputNames().joinIntoString ("|"), namesOf (juce::MidiInput::getAvailableDevices()));
    EXPECT_EQ (ports.getOutputNames().joinIntoString ("|"), namesOf (juce::MidiOutput::getAvailableDevices()));
}

TEST (JuceMidiPortSystem, IndicesOutsideTheLatestListingOpenNothing)
{
    JuceMidiPortSystem ports;
    RecordingMidiCallback host;

    EXPECT_EQ (ports.openInput (0, host), nullptr);
    EXPECT_EQ (ports.openOutput (0), nullptr);

    const auto inputCount = ports.getInputNames().size();
    const auto outputCount = ports.getOutputNames().size();
    EXPECT_EQ (ports.openInput (inputCount, host), nullptr);
    EXPECT_EQ (ports.openInput (-1, host), nullptr);
    EXPECT_EQ (ports.openOutput (outputCount), nullptr);
    EXPECT_EQ (ports.openOutput (-1), nullptr);
}
