#include "sequencer/wire/MidiEventShape.h"

#include <array>

namespace
{
    using Layout = MidiEventShape::Layout;

    constexpr std::array<MidiEventShape, 17> shapes {{
        { 0x80, SND_SEQ_EVENT_NOTEOFF,      Layout::note },
        { 0x90, SND_SEQ_EVENT_NOTEON,       Layout::note },
        { 0xa0, SND_SEQ_EVENT_KEYPRESS,     Layout::note },
        { 0xb0, SND_SEQ_EVENT_CONTROLLER,   Layout::controller },
        { 0xc0, SND_SEQ_EVENT_PGMCHANGE,    Layout::value },
        { 0xd0, SND_SEQ_EVENT_CHANPRESS,    Layout::value },
        { 0xe0, SND_SEQ_EVENT_PITCHBEND,    Layout::pitchBend },
        { 0xf1, SND_SEQ_EVENT_QFRAME,       Layout::value },
        { 0xf2, SND_SEQ_EVENT_SONGPOS,      Layout::songPosition },
        { 0xf3, SND_SEQ_EVENT_SONGSEL,      Layout::value },
        { 0xf6, SND_SEQ_EVENT_TUNE_REQUEST, Layout::none },
        { 0xf8, SND_SEQ_EVENT_CLOCK,        Layout::none },
        { 0xfa, SND_SEQ_EVENT_START,        Layout::none },
        { 0xfb, SND_SEQ_EVENT_CONTINUE,     Layout::none },
        { 0xfc, SND_SEQ_EVENT_STOP,         Layout::none },
        { 0xfe, SND_SEQ_EVENT_SENSING,      Layout::none },
        { 0xff, SND_SEQ_EVENT_RESET,        Layout::none }
    }};
}

int MidiEventShape::dataBytes() const noexcept
{
    switch (layout)
    {
        case Layout::none:          return 0;
        case Layout::value:         return 1;
        case Layout::note:
        case Layout::controller:
        case Layout::pitchBend:
        case Layout::songPosition:  return 2;
    }

    return 0;
}

std::optional<MidiEventShape> MidiEventShape::forStatus (std::uint8_t statusByte) noexcept
{
    const auto status = statusByte < 0xf0 ? (std::uint8_t) (statusByte & 0xf0) : statusByte;

    for (const auto& shape : shapes)
        if (shape.status == status)
            return shape;

    return std::nullopt;
}

std::optional<MidiEventShape> MidiEventShape::forType (snd_seq_event_type_t type) noexcept
{
    for (const auto& shape : shapes)
        if (shape.type == type)
            return shape;

    return std::nullopt;
}
