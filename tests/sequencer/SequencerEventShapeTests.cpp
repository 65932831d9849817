#include "sequencer/devices/SequencerEventSplitter.h"
#include "sequencer/devices/SequencerMessageJoiner.h"

#include <gtest/gtest.h>

namespace
{
    using Bytes = std::vector<juce::uint8>;

    juce::MidiMessage messageOf (const Bytes& bytes)
    {
        return juce::MidiMessage (bytes.data(), (int) bytes.size());
    }

    Bytes bytesOf (const juce::MidiMessage& message)
    {
        return Bytes (message.getRawData(), message.getRawData() + message.getRawDataSize());
    }

    // A short message as a device sends it, and the event ALSA's sequencer carries it in.
    struct ShortMessageCase
    {
        const char* name;
        Bytes bytes;
        snd_seq_event_type_t type;
        unsigned char channel;
        unsigned int param;     // the note for note events
        int value;              // the velocity for note events
    };

    void PrintTo (const ShortMessageCase& testCase, std::ostream* os)
    {
        *os << testCase.name;
    }

    class ShortMessageEvents : public ::testing::TestWithParam<ShortMessageCase> {};

    const ShortMessageCase shortMessages[] {
        { "NoteOnOfChannel16",       { 0x9f, 0x3c, 0x64 }, SND_SEQ_EVENT_NOTEON,       15, 0x3c, 0x64 },
        { "NoteOffKeepsItsVelocity", { 0x80, 0x00, 0x7f }, SND_SEQ_EVENT_NOTEOFF,       0, 0x00, 0x7f },
        { "ControllerOfChannel3",    { 0xb2, 0x07, 0x50 }, SND_SEQ_EVENT_CONTROLLER,    2, 0x07, 0x50 },
        { "ProgramChange",           { 0xc5, 0x21 },       SND_SEQ_EVENT_PGMCHANGE,     5, 0,    0x21 },
        { "PitchBendCentreIsZero",   { 0xe0, 0x00, 0x40 }, SND_SEQ_EVENT_PITCHBEND,     0, 0,    0 },
        { "PitchBendLowest",         { 0xe1, 0x00, 0x00 }, SND_SEQ_EVENT_PITCHBEND,     1, 0,    -8192 },
        { "PitchBendHighest",        { 0xe1, 0x7f, 0x7f }, SND_SEQ_EVENT_PITCHBEND,     1, 0,    8191 },
        { "SongPositionLowBitsFirst", { 0xf2, 0x01, 0x02 }, SND_SEQ_EVENT_SONGPOS,      0, 0,    0x101 },
        { "TuneRequest",             { 0xf6 },             SND_SEQ_EVENT_TUNE_REQUEST,  0, 0,    0 },
        { "ActiveSensing",           { 0xfe },             SND_SEQ_EVENT_SENSING,       0, 0,    0 }
    };
}

TEST_P (ShortMessageEvents, BecomeTheSequencersEventAndTheSameBytesAgain)
{
    const auto& expected = GetParam();
    const snd_seq_addr_t source { 20, 0 };

    const auto events = SequencerEventSplitter::eventsFor (messageOf (expected.bytes), source);

    ASSERT_EQ (events.size(), 1u);
    const auto& event = events[0].fixed;
    EXPECT_EQ (event.type, expected.type);
    EXPECT_EQ (event.source.client, 20);
    EXPECT_EQ (event.dest.client, SND_SEQ_ADDRESS_SUBSCRIBERS);
    EXPECT_EQ (event.queue, SND_SEQ_QUEUE_DIRECT);

    if (expected.type == SND_SEQ_EVENT_NOTEON || expected.type == SND_SEQ_EVENT_NOTEOFF)
    {
        EXPECT_EQ (event.data.note.channel, expected.channel);
        EXPECT_EQ (event.data.note.note, expected.param);
        EXPECT_EQ (event.data.note.velocity, expected.value);
    }
    else
    {
        EXPECT_EQ (event.data.control.channel, expected.channel);
        EXPECT_EQ (event.data.control.param, expected.param);
        EXPECT_EQ (event.data.control.value, expected.value);
    }

    SequencerMessageJoiner joiner;
    const auto messages = joiner.join (events[0]);
    ASSERT_EQ (messages.size(), 1u);
    EXPECT_EQ (bytesOf (messages[0]), expected.bytes);
}

INSTANTIATE_TEST_SUITE_P (SequencerDevices, ShortMessageEvents, ::testing::ValuesIn (shortMessages),
                          [] (const auto& info) { return std::string (info.param.name); });

TEST (SequencerSysexJoining, PiecesMakeOneMessageAndInterruptionsDropOnlyTheBrokenOne)
{
    const auto piece = [] (const Bytes& bytes)
    {
        SequencerEvent event;
        event.fixed.type = SND_SEQ_EVENT_SYSEX;
        event.fixed.flags = SND_SEQ_EVENT_LENGTH_VARIABLE;
        event.variable = bytes;
        event.fixed.data.ext.len = (unsigned int) bytes.size();
        return event;
    };

    SequencerEvent noteOn;
    noteOn.fixed.type = SND_SEQ_EVENT_NOTEON;
    noteOn.fixed.data.note = { 0, 0x40, 0x10, 0, 0 };

    // Each step: the event, and the messages it completes.
    const std::vector<std::pair<SequencerEvent, std::vector<Bytes>>> steps {
        { piece ({ 0xf0, 0x06, 0x01 }),       {} },
        { piece ({ 0x02, 0xf8, 0x03 }),       { { 0xf8 } } },              // real time passes through
        { piece ({ 0x04, 0xf7 }),             { { 0xf0, 0x06, 0x01, 0x02, 0x03, 0x04, 0xf7 } } },
        { piece ({ 0x05, 0xf7 }),             {} },                        // no F0: not a SysEx
        { piece ({ 0xf0, 0x06, 0x09 }),       {} },
        { noteOn,                             { { 0x90, 0x40, 0x10 } } },  // ends the SysEx unfinished
        { piece ({ 0x0a, 0xf7 }),             {} },
        { piece ({ 0xf0, 0x06 }),             {} },
        { piece ({ 0xf0, 0x07, 0xf7 }),       { { 0xf0, 0x07, 0xf7 } } }   // a new F0 starts afresh
    };

    SequencerMessageJoiner joiner;

    for (size_t i = 0; i < steps.size(); ++i)
    {
        std::vector<Bytes> completed;

        for (const auto& message : joiner.join (steps[i].first))
            completed.push_back (bytesOf (message));

        EXPECT_EQ (completed, steps[i].second) << "step " << i;
    }
}

TEST (SequencerSysexJoining, AMessageBeyondTheDevicesBufferIsDroppedWhole)
{
    Bytes sysex (SequencerMessageJoiner::maxSysexBytes + 1, 0x11);
    sysex.front() = 0xf0;
    sysex.back() = 0xf7;

    SequencerMessageJoiner joiner;
    size_t completed = 0;

    for (auto& event : SequencerEventSplitter::eventsFor (messageOf (sysex), { 20, 0 }))
        completed += joiner.join (event).size();

    EXPECT_EQ (completed, 0u);

    sysex.erase (sysex.begin() + 1);
    const auto events = SequencerEventSplitter::eventsFor (messageOf (sysex), { 20, 0 });
    std::vector<juce::MidiMessage> messages;

    for (auto& event : events)
        for (auto& message : joiner.join (event))
            messages.push_back (message);

    ASSERT_EQ (messages.size(), 1u);
    EXPECT_EQ (bytesOf (messages[0]), sysex);
}

TEST (SequencerSysexSplitting, ASysexLeavesAsTheDriverSendsIt)
{
    // Sizes of SysEx messages, and the sizes of the events each becomes.
    const std::vector<std::pair<size_t, std::vector<size_t>>> cases {
        { 6,   { 6 } },
        { 256, { 256 } },
        { 257, { 256, 1 } },
        { 600, { 256, 256, 88 } }
    };

    for (const auto& [size, expectedSizes] : cases)
    {
        Bytes sysex (size, 0x22);
        sysex.front() = 0xf0;
        sysex.back() = 0xf7;

        std::vector<size_t> sizes;
        Bytes joined;

        for (const auto& event : SequencerEventSplitter::eventsFor (messageOf (sysex), { 20, 0 }))
        {
            EXPECT_EQ (event.fixed.type, SND_SEQ_EVENT_SYSEX);
            EXPECT_EQ (event.fixed.flags & SND_SEQ_EVENT_LENGTH_MASK, SND_SEQ_EVENT_LENGTH_VARIABLE);
            EXPECT_EQ (event.fixed.data.ext.len, event.variable.size());
            sizes.push_back (event.variable.size());
            joined.insert (joined.end(), event.variable.begin(), event.variable.end());
        }

        EXPECT_EQ (sizes, expectedSizes) << size << " bytes";
        EXPECT_EQ (joined, sysex) << size << " bytes";
    }
}
