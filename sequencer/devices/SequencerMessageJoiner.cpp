#include "sequencer/devices/SequencerMessageJoiner.h"

#include "sequencer/wire/MidiEventShape.h"

#include <algorithm>

namespace
{
    constexpr juce::uint8 sysexStart = 0xf0;
    constexpr juce::uint8 sysexEnd = 0xf7;
    constexpr juce::uint8 firstRealTime = 0xf8;

    juce::uint8 sevenBits (int value)
    {
        return (juce::uint8) (value & 0x7f);
    }

    std::vector<juce::uint8> bytesOf (const MidiEventShape& shape, const snd_seq_event_t& event)
    {
        using Layout = MidiEventShape::Layout;
        const auto& control = event.data.control;
        const auto status = (juce::uint8) (shape.status | (shape.isChannelMessage() ? control.channel & 0x0f : 0));

        switch (shape.layout)
        {
            case Layout::none:          return { status };
            case Layout::note:          return { status, sevenBits (event.data.note.note), sevenBits (event.data.note.velocity) };
            case Layout::controller:    return { status, sevenBits ((int) control.param), sevenBits (control.value) };
            case Layout::value:         return { status, sevenBits (control.value) };
            case Layout::pitchBend:
            case Layout::songPosition:
            {
                const auto offset = shape.layout == Layout::pitchBend ? 8192 : 0;
                const auto value = std::clamp (control.value + offset, 0, 0x3fff);
                return { status, sevenBits (value), sevenBits (value >> 7) };
            }
        }

        return {};
    }
}

std::vector<juce::MidiMessage> SequencerMessageJoiner::join (const SequencerEvent& event)
{
    std::vector<juce::MidiMessage> complete;

    if (event.fixed.type == SND_SEQ_EVENT_SYSEX)
    {
        for (const auto byte : event.variable)
            takeSysexByte (byte, complete);
    }
    else
    {
        takeShortMessage (event.fixed, complete);
    }

    return complete;
}

void SequencerMessageJoiner::takeSysexByte (juce::uint8 byte, std::vector<juce::MidiMessage>& complete)
{
    if (byte >= firstRealTime)
    {
        complete.emplace_back (byte);
        return;
    }

    if (byte == sysexStart)
    {
        sysex.assign (1, byte);
        inSysex = true;
        overrun = false;
        return;
    }

    if (! inSysex)
        return;

    if ((byte & 0x80) != 0 && byte != sysexEnd)
    {
        inSysex = false;
        return;
    }

    if (sysex.size() < maxSysexBytes)
        sysex.push_back (byte);
    else
        overrun = true;

    if (byte == sysexEnd)
    {
        inSysex = false;

        if (! overrun)
            complete.emplace_back (sysex.data(), (int) sysex.size());
    }
}

void SequencerMessageJoiner::takeShortMessage (const snd_seq_event_t& event, std::vector<juce::MidiMessage>& complete)
{
    const auto shape = MidiEventShape::forType (event.type);

    if (! shape.has_value())
        return;

    if (shape->status < firstRealTime)
        inSysex = false;

    const auto bytes = bytesOf (*shape, event);
    complete.emplace_back (bytes.data(), (int) bytes.size());
}
