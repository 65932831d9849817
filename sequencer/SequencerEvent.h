#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

/** One sequencer event as the broker holds and carries it: the fixed part laid out as
    alsa-lib's snd_seq_event_t, and the bytes of a variable-length event (a SysEx) beside
    it. For a variable-length event fixed.data.ext.len equals variable.size() and
    fixed.data.ext.ptr means nothing outside the process that filled it.
*/
struct SequencerEvent
{
    // Braces would set only the first member of the event's data union, leaving the
    // bytes of its larger members (a controller's value) to chance.
    static snd_seq_event_t cleared() noexcept
    {
        snd_seq_event_t event;
        std::memset (&event, 0, sizeof (event));
        return event;
    }

    snd_seq_event_t fixed = cleared();
    std::vector<std::uint8_t> variable;
};
