#include "tests/sequencer/SequencerListener.h"

#include <poll.h>

SequencerListener::SequencerListener()
{
    if (snd_seq_open (&sequencer, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
    {
        sequencer = nullptr;
        return;
    }

    port = snd_seq_create_simple_port (sequencer, "listener", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                       SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
}

SequencerListener::~SequencerListener()
{
    if (sequencer != nullptr)
        snd_seq_close (sequencer);
}

bool SequencerListener::listenTo (int client, int sourcePort)
{
    return sequencer != nullptr && port >= 0 && snd_seq_connect_from (sequencer, port, client, sourcePort) == 0;
}

std::vector<SequencerListener::Bytes> SequencerListener::sysexPiecesOfOneMessage (int timeoutMs)
{
    std::vector<Bytes> pieces;

    if (sequencer == nullptr)
        return pieces;

    pollfd descriptor {};
    snd_seq_poll_descriptors (sequencer, &descriptor, 1, POLLIN);

    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (pieces.empty() || pieces.back().empty() || pieces.back().back() != 0xf7)
    {
        const auto remaining = (int) (deadline - juce::Time::getMillisecondCounter());
        snd_seq_event_t* event = nullptr;

        if (remaining <= 0 || (snd_seq_event_input_pending (sequencer, 1) <= 0 && poll (&descriptor, 1, remaining) <= 0))
            break;

        if (snd_seq_event_input (sequencer, &event) < 0 || event->type != SND_SEQ_EVENT_SYSEX)
            continue;

        const auto* bytes = static_cast<const juce::uint8*> (event->data.ext.ptr);
        pieces.emplace_back (bytes, bytes + event->data.ext.len);
    }

    return pieces;
}
