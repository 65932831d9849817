#include "sequencer/SequencerServer.h"
#include "tests/sequencer/KernelDevice.h"
#include "tests/sequencer/SequencerWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <poll.h>

// The stand-in's sequencer calls as a program makes them, against the broker.

namespace
{
    struct SeqCloser
    {
        void operator() (snd_seq_t* seq) const     { snd_seq_close (seq); }
    };

    using Seq = std::unique_ptr<snd_seq_t, SeqCloser>;

    Seq openSeq()
    {
        SequencerWorld::get();
        snd_seq_t* seq = nullptr;
        EXPECT_EQ (snd_seq_open (&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK), 0);
        return Seq (seq);
    }

    const auto everyCapability = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE
                               | SND_SEQ_PORT_CAP_SUBS_READ | SND_SEQ_PORT_CAP_SUBS_WRITE;

    bool isReadable (snd_seq_t* seq, int timeoutMs)
    {
        pollfd descriptor {};
        EXPECT_EQ (snd_seq_poll_descriptors (seq, &descriptor, 1, POLLIN), 1);
        return poll (&descriptor, 1, timeoutMs) > 0;
    }

    /** The next event's type and bytes (SysEx) once one waits; nothing after a bounded wait. */
    std::optional<std::pair<int, std::vector<std::uint8_t>>> nextEvent (snd_seq_t* seq)
    {
        snd_seq_event_t* event = nullptr;

        if (snd_seq_event_input_pending (seq, 0) == 0 && ! isReadable (seq, 5000))
            return std::nullopt;

        const auto result = snd_seq_event_input (seq, &event);

        if (result < 0)
            return std::make_pair (result, std::vector<std::uint8_t>());

        const auto* bytes = static_cast<const std::uint8_t*> (event->data.ext.ptr);
        return std::make_pair ((int) event->type, event->type == SND_SEQ_EVENT_SYSEX
                                                      ? std::vector<std::uint8_t> (bytes, bytes + event->data.ext.len)
                                                      : std::vector<std::uint8_t>());
    }

    /** A port of seq's that reads device's port 0; its number. */
    int readFrom (snd_seq_t* seq, const KernelDevice& device)
    {
        const auto own = snd_seq_create_simple_port (seq, "in", SND_SEQ_PORT_CAP_WRITE, SND_SEQ_PORT_TYPE_APPLICATION);
        EXPECT_EQ (snd_seq_connect_from (seq, own, device.getClient(), 0), 0);
        return own;
    }

    std::vector<std::uint8_t> sysexOfSize (std::size_t size)
    {
        std::vector<std::uint8_t> message (size, 0x11);
        message.front() = 0xF0;
        message.back() = 0xF7;
        return message;
    }
}

TEST (StandinOpen, WithoutABrokerFailsAsWithoutTheKernelsSequencer)
{
    // Run alone, no other test has set the variable yet.
    const auto* given = getenv (SequencerServer::socketVariable);
    const std::optional<std::string> socketPath = given != nullptr ? std::optional<std::string> (given) : std::nullopt;

    for (const auto* variable : { static_cast<const char*> (nullptr), "", "/nonexistent/seq" })
    {
        SCOPED_TRACE (variable == nullptr ? "unset" : variable);

        if (variable == nullptr)
            unsetenv (SequencerServer::socketVariable);
        else
            setenv (SequencerServer::socketVariable, variable, 1);

        snd_seq_t* seq = nullptr;
        EXPECT_EQ (snd_seq_open (&seq, "default", SND_SEQ_OPEN_DUPLEX, 0), -ENOENT);
        EXPECT_EQ (seq, nullptr);
    }

    if (socketPath.has_value())
        setenv (SequencerServer::socketVariable, socketPath->c_str(), 1);
}

// A client needs no permission on its own port, and on another's port the kernel's.
TEST (StandinSubscriptions, FollowTheKernelsPermissionRule)
{
    const struct
    {
        const char* what;
        unsigned deviceCapabilities;
        bool fromDevice;
        int devicePort, expected;
    } cases[] {
        { "reading a port open to subscribers", SND_SEQ_PORT_CAP_SUBS_READ, true, 0, 0 },
        { "reading a port open to direct reading", SND_SEQ_PORT_CAP_READ, true, 0, 0 },
        { "reading a port that may only be written", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE, true, 0, -EPERM },
        { "writing a port open to subscribers", SND_SEQ_PORT_CAP_SUBS_WRITE, false, 0, 0 },
        { "writing a port open to direct writing", SND_SEQ_PORT_CAP_WRITE, false, 0, 0 },
        { "writing a port that may only be read", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ, false, 0, -EPERM },
        { "a port the device does not have", everyCapability, true, 7, -EINVAL },
    };

    auto& world = SequencerWorld::get();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        KernelDevice device (world.kernel, "Nimbus", {});
        world.kernel.addKernelPort (device.getClient(), "Nimbus MIDI 1", c.deviceCapabilities, SND_SEQ_PORT_TYPE_MIDI_GENERIC);
        auto seq = openSeq();
        const auto own = snd_seq_create_simple_port (seq.get(), "own", 0, SND_SEQ_PORT_TYPE_APPLICATION);
        ASSERT_EQ (own, 0);

        const auto connect = c.fromDevice ? snd_seq_connect_from : snd_seq_connect_to;
        EXPECT_EQ (connect (seq.get(), own, device.getClient(), c.devicePort), c.expected);

        if (c.expected == 0)
            EXPECT_EQ (connect (seq.get(), own, device.getClient(), c.devicePort), -EBUSY);
    }

    KernelDevice device (world.kernel, "Nimbus", { "Nimbus MIDI 1" });
    auto seq = openSeq();
    const auto own = snd_seq_create_simple_port (seq.get(), "own", 0, SND_SEQ_PORT_TYPE_APPLICATION);
    EXPECT_EQ (snd_seq_connect_from (seq.get(), own, 99, 0), -EINVAL);
    EXPECT_EQ (snd_seq_disconnect_from (seq.get(), own, device.getClient(), 0), -ENOENT);
    EXPECT_EQ (snd_seq_connect_from (seq.get(), own, device.getClient(), 0), 0);
    EXPECT_EQ (snd_seq_disconnect_from (seq.get(), own, device.getClient(), 0), 0);
    EXPECT_TRUE (world.kernel.subscriptions().empty());
}

// The descriptor JUCE's input thread polls is readable exactly while events wait,
// whatever requests other threads make on the same handle meanwhile.
TEST (StandinEvents, ThePollDescriptorIsReadableExactlyWhileEventsWait)
{
    auto& world = SequencerWorld::get();
    KernelDevice device (world.kernel, "Nimbus", { "Nimbus MIDI 1" });
    auto seq = openSeq();
    const auto own = readFrom (seq.get(), device);
    snd_seq_event_t* event = nullptr;

    EXPECT_FALSE (isReadable (seq.get(), 0));
    EXPECT_EQ (snd_seq_event_input (seq.get(), &event), -EAGAIN);

    for (int i = 0; i < 3; ++i)
        device.sendSysex (0, sysexOfSize (5));

    EXPECT_TRUE (isReadable (seq.get(), 5000));
    std::thread requests ([&] { snd_seq_create_simple_port (seq.get(), "other", 0, 0); });
    requests.join();
    EXPECT_TRUE (isReadable (seq.get(), 0));

    EXPECT_EQ (snd_seq_event_input_pending (seq.get(), 0), 0);
    EXPECT_EQ (snd_seq_event_input_pending (seq.get(), 1), 3);
    EXPECT_FALSE (isReadable (seq.get(), 0));

    for (int i = 0; i < 3; ++i)
    {
        ASSERT_GE (snd_seq_event_input (seq.get(), &event), 0);
        EXPECT_EQ (event->dest.port, own);
        EXPECT_EQ (event->source.client, device.getClient());
    }

    EXPECT_EQ (snd_seq_event_input (seq.get(), &event), -EAGAIN);
}

// The sender is never held up by a reader that does not read: what does not fit is
// dropped, and the reader is told once, just before the next event that got through.
// Afterwards the emptied queue takes the largest SysEx.
TEST (StandinEvents, AFullQueueDropsWhatComesAndReportsTheOverflowOnce)
{
    auto& world = SequencerWorld::get();
    KernelDevice device (world.kernel, "Nimbus", { "Nimbus MIDI 1" });
    auto seq = openSeq();
    readFrom (seq.get(), device);

    const auto numbered = [] (int number) { return std::vector<std::uint8_t> { 0xF0, (std::uint8_t) (number >> 7), (std::uint8_t) (number & 0x7F), 0xF7 }; };
    const auto numberOf = [] (const snd_seq_event_t& event)
    {
        const auto* bytes = static_cast<const std::uint8_t*> (event.data.ext.ptr);
        return event.data.ext.len == 4 ? (bytes[1] << 7) | bytes[2] : -1;
    };

    const int sent = 3000;  // more than the queue holds

    for (int i = 0; i < sent; ++i)
        ASSERT_EQ (device.sendSysex (0, numbered (i)), 1);

    snd_seq_event_t* event = nullptr;
    int read = 0, result = 0;

    while ((result = snd_seq_event_input (seq.get(), &event)) >= 0)
    {
        ASSERT_EQ (numberOf (*event), read);
        ++read;
    }

    EXPECT_EQ (result, -EAGAIN);
    EXPECT_LT (read, sent);
    // About a thousand fit; fewer where the system caps socket buffers low (at Debian's
    // default cap, over 500).
    EXPECT_GT (read, 500);

    ASSERT_EQ (device.sendSysex (0, numbered (sent)), 1);
    EXPECT_EQ (snd_seq_event_input (seq.get(), &event), -ENOSPC);
    ASSERT_GE (snd_seq_event_input (seq.get(), &event), 0);
    EXPECT_EQ (numberOf (*event), sent);
    EXPECT_EQ (snd_seq_event_input (seq.get(), &event), -EAGAIN);

    const auto largest = sysexOfSize (64 * 1024);
    ASSERT_EQ (device.sendSysex (0, largest), 1);
    const auto arrived = nextEvent (seq.get());
    ASSERT_TRUE (arrived.has_value());
    EXPECT_EQ (arrived->second, largest);
}

// Through Midi Through and back: what a program sends directly reaches the
// subscribers of where it goes, bytes and all, and returns the event's size.
TEST (StandinOutput, DeliversOrRefusesAsTheKernelDoes)
{
    auto& world = SequencerWorld::get();
    auto seq = openSeq();
    const auto out = snd_seq_create_simple_port (seq.get(), "out", SND_SEQ_PORT_CAP_READ, 0);
    const auto in = snd_seq_create_simple_port (seq.get(), "in", SND_SEQ_PORT_CAP_WRITE, 0);
    ASSERT_EQ (snd_seq_connect_to (seq.get(), out, 14, 0), 0);
    ASSERT_EQ (snd_seq_connect_from (seq.get(), in, 14, 0), 0);

    const struct
    {
        const char* what;
        std::size_t sysexBytes;
        int destClient;
        int expected;
    } cases[] {
        { "SysEx to the subscribers", 100, SND_SEQ_ADDRESS_SUBSCRIBERS, (int) sizeof (snd_seq_event_t) + 100 },
        { "the largest SysEx", 64 * 1024, SND_SEQ_ADDRESS_SUBSCRIBERS, (int) sizeof (snd_seq_event_t) + 64 * 1024 },
        { "SysEx over the bound", 64 * 1024 + 1, SND_SEQ_ADDRESS_SUBSCRIBERS, -ENOMEM },
        { "to a client that does not exist", 10, 99, -ENOENT },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        auto message = sysexOfSize (c.sysexBytes);
        snd_seq_event_t event;
        snd_seq_ev_clear (&event);
        snd_seq_ev_set_source (&event, out);
        snd_seq_ev_set_dest (&event, c.destClient, 0);
        snd_seq_ev_set_direct (&event);
        snd_seq_ev_set_sysex (&event, (unsigned) message.size(), message.data());

        EXPECT_EQ (snd_seq_event_output_direct (seq.get(), &event), c.expected);

        if (c.expected > 0)
        {
            const auto echo = nextEvent (seq.get());
            ASSERT_TRUE (echo.has_value());
            EXPECT_EQ (echo->second, message);
        }
    }

    EXPECT_FALSE (isReadable (seq.get(), 0));
}

// A program that closes its handle (or dies) takes its ports and subscriptions along.
TEST (StandinClose, TheClientLeavesWithItsPortsAndSubscriptions)
{
    auto& world = SequencerWorld::get();
    auto seq = openSeq();
    const auto client = snd_seq_client_id (seq.get());
    const auto own = snd_seq_create_simple_port (seq.get(), "own", SND_SEQ_PORT_CAP_WRITE, 0);
    ASSERT_EQ (snd_seq_connect_from (seq.get(), own, 14, 0), 0);

    // Other tests' clients may still be leaving: only this client's subscriptions count.
    const auto subscriptionsOfClient = [&]
    {
        const auto all = world.kernel.subscriptions();
        return std::count_if (all.begin(), all.end(), [&] (const auto& s) { return s.dest.client == client; });
    };

    EXPECT_EQ (subscriptionsOfClient(), 1);

    seq.reset();
    EXPECT_TRUE (world.waitUntilNoUserPorts());
    EXPECT_EQ (subscriptionsOfClient(), 0);
}

namespace
{
    juce::String describe (const snd_seq_event_t& event)
    {
        const auto& c = event.data.control;

        switch (event.type)
        {
            case SND_SEQ_EVENT_NOTEON:      return "NOTEON " + juce::String (event.data.note.channel) + " " + juce::String (event.data.note.note) + " " + juce::String (event.data.note.velocity);
            case SND_SEQ_EVENT_PITCHBEND:   return "PITCHBEND " + juce::String (c.channel) + " " + juce::String (c.value);
            case SND_SEQ_EVENT_PGMCHANGE:   return "PGMCHANGE " + juce::String (c.channel) + " " + juce::String (c.value);
            case SND_SEQ_EVENT_CLOCK:       return "CLOCK";
            case SND_SEQ_EVENT_SYSEX:       return "SYSEX " + juce::String::toHexString (event.data.ext.ptr, (int) event.data.ext.len).toUpperCase();
            default:                        return "TYPE " + juce::String (event.type);
        }
    }
}

// JUCE's output encodes each message with snd_midi_event_encode and sends every event
// it completes; its input thread decodes each event with snd_midi_event_decode.
TEST (StandinMidiEvents, EncodeCompletesEventsAsTheBytesArrive)
{
    const struct
    {
        const char* what;
        size_t bufferSize;
        std::vector<unsigned char> bytes;
        const char* expected;
    } cases[] {
        { "running status", 16, { 0x90, 0x3C, 0x64, 0x3E, 0x00 }, "3: NOTEON 0 60 100|2: NOTEON 0 62 0" },
        { "a real-time byte inside a message", 16, { 0x90, 0x3C, 0xF8, 0x64 }, "3: CLOCK|1: NOTEON 0 60 100" },
        { "pitch bend and program change", 16, { 0xE1, 0x00, 0x40, 0xE1, 0x7F, 0x7F, 0xC2, 0x05 },
          "3: PITCHBEND 1 0|3: PITCHBEND 1 8191|2: PGMCHANGE 2 5" },
        { "SysEx that fits", 16, { 0xF0, 0x01, 0x02, 0xF7 }, "4: SYSEX F0 01 02 F7" },
        { "SysEx as long as the buffer", 4, { 0xF0, 0x01, 0x02, 0xF7 }, "4: SYSEX F0 01 02 F7" },
        { "SysEx longer than the buffer", 4, { 0xF0, 0x01, 0x02, 0x03, 0x04, 0x05, 0xF7 }, "4: SYSEX F0 01 02 03|3: SYSEX 04 05 F7" },
        { "data without a status", 16, { 0x01, 0x02 }, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        snd_midi_event_t* coder = nullptr;
        ASSERT_EQ (snd_midi_event_new (c.bufferSize, &coder), 0);
        juce::StringArray produced;

        for (long done = 0; done < (long) c.bytes.size();)
        {
            snd_seq_event_t event;
            snd_seq_ev_clear (&event);
            const auto used = snd_midi_event_encode (coder, c.bytes.data() + done, (long) c.bytes.size() - done, &event);
            ASSERT_GT (used, 0);
            done += used;

            if (event.type != SND_SEQ_EVENT_NONE)
                produced.add (juce::String (used) + ": " + describe (event));
        }

        EXPECT_EQ (produced.joinIntoString ("|"), c.expected);
        snd_midi_event_free (coder);
    }
}

TEST (StandinMidiEvents, DecodeWritesTheMessageOrRefuses)
{
    unsigned char sysexBytes[] { 0xF0, 0x7D, 0xF7 };
    snd_seq_event_t note, bend, sysex, echo;

    for (auto* event : { &note, &bend, &sysex, &echo })
        snd_seq_ev_clear (event);

    snd_seq_ev_set_noteon (&note, 2, 60, 100);
    snd_seq_ev_set_pitchbend (&bend, 1, -8192);
    snd_seq_ev_set_sysex (&sysex, sizeof (sysexBytes), sysexBytes);
    echo.type = SND_SEQ_EVENT_ECHO;

    const struct
    {
        const char* what;
        const snd_seq_event_t& event;
        long room;
        long expected;
        const char* bytes;
    } cases[] {
        { "a note", note, 16, 3, "92 3c 64" },
        { "a pitch bend at its lowest", bend, 16, 3, "e1 00 00" },
        { "SysEx", sysex, 16, 3, "f0 7d f7" },
        { "SysEx without room", sysex, 2, -ENOMEM, "" },
        { "an event that is no MIDI message", echo, 16, -ENOENT, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        snd_midi_event_t* coder = nullptr;
        ASSERT_EQ (snd_midi_event_new (16, &coder), 0);
        unsigned char written[16] {};

        const auto result = snd_midi_event_decode (coder, written, c.room, &c.event);
        EXPECT_EQ (result, c.expected);
        EXPECT_EQ (juce::String::toHexString (written, (int) std::max (0L, result)), c.bytes);
        snd_midi_event_free (coder);
    }
}
