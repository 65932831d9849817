#include "device/ports/JuceMidiPortSystem.h"
#include "tests/ports/RecordingMidiCallback.h"
#include "tests/ports/TestMessages.h"
#include "tests/sequencer/KernelDevice.h"
#include "tests/sequencer/SequencerWorld.h"

#include <gtest/gtest.h>

#include <thread>

// JUCE's own ALSA code, unmodified, under our port layer, against the stand-in sequencer.

namespace
{
    /** A SysEx message of size bytes, F0 and F7 included, whose data bytes follow seed. */
    std::vector<juce::uint8> sysexOfSize (std::size_t size, int seed)
    {
        std::vector<juce::uint8> message (size, 0xF7);
        message[0] = 0xF0;

        for (std::size_t i = 1; i + 1 < size; ++i)
            message[i] = (juce::uint8) ((seed + (int) i) & 0x7F);

        return message;
    }

    juce::MidiMessage messageOf (const std::vector<juce::uint8>& bytes)
    {
        return juce::MidiMessage (bytes.data(), (int) bytes.size());
    }

    struct Device
    {
        const char* client;
        std::vector<std::string> ports;
    };

    /** A device's input (started) and output, opened as the device code opens them. */
    struct OpenDevice
    {
        OpenDevice (JuceMidiPortSystem& ports, const juce::String& name, juce::MidiInputCallback& host)
            : input (ports.openInput (ports.getInputNames().indexOf (name), host)),
              output (ports.openOutput (ports.getOutputNames().indexOf (name)))
        {
            if (isOpen())
                input->start();
        }

        bool isOpen() const     { return input != nullptr && output != nullptr; }

        std::unique_ptr<MidiInputPort> input;
        std::unique_ptr<MidiOutputPort> output;
    };

    /** The broker with a USB-MIDI device plugged in, and our port layer over JUCE. */
    struct JuceAlsaTest : public testing::Test
    {
        SequencerWorld& world = SequencerWorld::get();
        KernelDevice nimbus { world.kernel, "Nimbus", { "Nimbus MIDI 1" } };
        JuceMidiPortSystem ports;
    };
}

// What the scan matches a catalogue's port names against: JUCE lists the port's name
// alone, without the client's, ordered by client number; System's ports are never
// listed, Midi Through's is.
TEST (JuceAlsaPortNames, AreThePortNamesAloneInClientOrder)
{
    const struct
    {
        const char* what;
        std::vector<Device> devices;
        const char* expected;
    } cases[] {
        { "a USB-MIDI device", { { "Nimbus", { "Nimbus MIDI 1" } } },
          "Midi Through Port-0|Nimbus MIDI 1" },
        { "a two-port DIN interface", { { "MidiSport 2x2", { "MidiSport 2x2 MIDI 1", "MidiSport 2x2 MIDI 2" } } },
          "Midi Through Port-0|MidiSport 2x2 MIDI 1|MidiSport 2x2 MIDI 2" },
        { "both, the interface plugged in second",
          { { "Nimbus", { "Nimbus MIDI 1" } }, { "MidiSport 2x2", { "MidiSport 2x2 MIDI 1", "MidiSport 2x2 MIDI 2" } } },
          "Midi Through Port-0|Nimbus MIDI 1|MidiSport 2x2 MIDI 1|MidiSport 2x2 MIDI 2" },
    };

    auto& world = SequencerWorld::get();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        std::vector<std::unique_ptr<KernelDevice>> plugged;

        for (const auto& device : c.devices)
            plugged.push_back (std::make_unique<KernelDevice> (world.kernel, device.client, device.ports));

        JuceMidiPortSystem ports;
        EXPECT_EQ (ports.getInputNames().joinIntoString ("|"), c.expected);
        EXPECT_EQ (ports.getOutputNames().joinIntoString ("|"), c.expected);
    }
}

// Our request goes out as JUCE encodes it; the device's reply comes in pieces of at
// most 256 bytes, as from a card's MIDI driver, and reaches our callback whole.
TEST_F (JuceAlsaTest, SysexTravelsBothWaysByteForByte)
{
    const struct
    {
        std::size_t request, reply;
    } cases[] { { 6, 1000 }, { 300, 257 }, { 5000, 256 }, { 20, 16 * 1024 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.request) + " bytes out, " + juce::String (c.reply) + " back");
        RecordingMidiCallback host;
        OpenDevice open (ports, "Nimbus MIDI 1", host);
        ASSERT_TRUE (open.isOpen());

        const auto before = nimbus.waitForBytes (0).size();
        const auto request = sysexOfSize (c.request, (int) c.request);
        open.output->sendMessageNow (messageOf (request));
        const auto received = nimbus.waitForBytes (before + request.size());
        EXPECT_EQ (std::vector<juce::uint8> (received.begin() + (std::ptrdiff_t) before, received.end()), request);

        const auto reply = sysexOfSize (c.reply, (int) c.reply + 1);
        nimbus.sendSysex (0, reply);
        ASSERT_TRUE (host.recorder.waitForCalls (1));
        EXPECT_EQ (host.recorder.getEventLog(), hexOf (messageOf (reply)));
    }
}

// Pulling the cable while our ports are open: nothing crashes, sending goes nowhere,
// closing works, and no port of ours stays behind in the sequencer.
TEST_F (JuceAlsaTest, UnpluggingLeavesOurPortsClosable)
{
    RecordingMidiCallback host;
    OpenDevice open (ports, "Nimbus MIDI 1", host);
    ASSERT_TRUE (open.isOpen());
    EXPECT_EQ (world.userPorts().size(), 2u);

    nimbus.unplug();
    open.output->sendMessageNow (messageOf (sysexOfSize (10, 1)));
    EXPECT_FALSE (ports.getInputNames().contains ("Nimbus MIDI 1"));

    open.input.reset();
    open.output.reset();
    EXPECT_TRUE (world.waitUntilNoUserPorts());
    EXPECT_TRUE (host.recorder.getEvents().isEmpty());
}

// JUCE's input thread is only told to end when the last input stops, and starting it
// again does nothing while it has not yet left its poll: an input opened again at once,
// while our output keeps JUCE's client alive, must still be read.
TEST_F (JuceAlsaTest, AnInputReopenedAtOnceIsRead)
{
    RecordingMidiCallback first, second;
    OpenDevice open (ports, "Nimbus MIDI 1", first);
    ASSERT_TRUE (open.isOpen());

    // Once a message has come in, JUCE's input thread is back in its poll.
    nimbus.sendSysex (0, sysexOfSize (10, 2));
    ASSERT_TRUE (first.recorder.waitForCalls (1));
    open.input->stop();
    open.input.reset();

    open.input = ports.openInput (ports.getInputNames().indexOf ("Nimbus MIDI 1"), second);
    ASSERT_NE (open.input, nullptr);
    open.input->start();

    const auto reply = sysexOfSize (40, 3);
    nimbus.sendSysex (0, reply);
    EXPECT_TRUE (second.recorder.waitForCalls (1));
    EXPECT_EQ (second.recorder.getEventLog(), hexOf (messageOf (reply)));
}

// JUCE makes and destroys its one ALSA client without a lock: scanning from two workers
// at once must neither crash nor leave a client or port of ours behind.
TEST_F (JuceAlsaTest, ListingAndOpeningFromTwoThreadsAtOnce)
{
    std::atomic<int> failures { 0 };

    const auto scan = [&]
    {
        JuceMidiPortSystem ownPorts;
        RecordingMidiCallback host;

        for (int round = 0; round < 300; ++round)
        {
            auto input = ownPorts.openInput (ownPorts.getInputNames().indexOf ("Nimbus MIDI 1"), host);
            auto output = ownPorts.openOutput (ownPorts.getOutputNames().indexOf ("Nimbus MIDI 1"));

            if (input == nullptr || output == nullptr)
                ++failures;
        }
    };

    std::thread first (scan), second (scan);
    first.join();
    second.join();

    EXPECT_EQ (failures.load(), 0);
    EXPECT_TRUE (world.waitUntilNoUserPorts());
}
