#include "sequencer/devices/SequencerEventSplitter.h"

#include "sequencer/wire/MidiEventShape.h"

#include <algorithm>

namespace
{
    SequencerEvent directToSubscribers (snd_seq_event_type_t type, snd_seq_addr_t source)
    {
        SequencerEvent event;
        event.fixed.type = type;
        event.fixed.queue = SND_SEQ_QUEUE_DIRECT;
        event.fixed.source = source;
        event.fixed.dest.client = SND_SEQ_ADDRESS_SUBSCRIBERS;
        return event;
    }

    void fillData (snd_seq_event_t& event, const MidiEventShape& shape, const juce::uint8* bytes)
    {
        using Layout = MidiEventShape::Layout;
        const auto channel = (unsigned char) (shape.isChannelMessage() ? bytes[0] & 0x0f : 0);

        switch (shape.layout)
        {
            case Layout::none:
                break;

            case Layout::note:
                event.data.note.channel = channel;
                event.data.note.note = bytes[1];
                event.data.note.velocity = bytes[2];
                break;

            case Layout::controller:
                event.data.control.channel = channel;
                event.data.control.param = bytes[1];
                event.data.control.value = bytes[2];
                break;

            case Layout::value:
                event.data.control.channel = channel;
                event.data.control.value = bytes[1];
                break;

            case Layout::pitchBend:
                event.data.control.channel = channel;
                event.data.control.value = (bytes[1] | (bytes[2] << 7)) - 8192;
                break;

            case Layout::songPosition:
                event.data.control.value = bytes[1] | (bytes[2] << 7);
                break;
        }
    }

    std::vector<SequencerEvent> sysexPieces (const juce::uint8* bytes, size_t size, snd_seq_addr_t source, size_t pieceSize)
    {
        std::vector<SequencerEvent> pieces;

        for (size_t start = 0; start < size; start += pieceSize)
        {
            const auto length = std::min (pieceSize, size - start);
            auto piece = directToSubscribers (SND_SEQ_EVENT_SYSEX, source);
            piece.fixed.flags = SND_SEQ_EVENT_LENGTH_VARIABLE;
            piece.variable.assign (bytes + start, bytes + start + length);
            piece.fixed.data.ext.len = (unsigned int) length;
            pieces.push_back (std::move (piece));
        }

        return pieces;
    }
}

std::vector<SequencerEvent> SequencerEventSplitter::eventsFor (const juce::MidiMessage& message, snd_seq_addr_t source,
                                                               size_t sysexPiece)
{

    const auto* bytes = message.getRawData();
    const auto size = (size_t) message.getRawDataSize();

    if (size == 0)
        return {};

    if (message.isSysEx())
        return sysexPieces (bytes, size, source, std::clamp (sysexPiece, (size_t) 1, maxSysexPiece));

    const auto shape = MidiEventShape::forStatus (bytes[0]);

    if (! shape.has_value() || size != (size_t) (1 + shape->dataBytes()))
        return {};

    auto event = directToSubscribers (shape->type, source);
    fillData (event.fixed, *shape, bytes);
    return { std::move (event) };
}
