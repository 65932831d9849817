#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <vector>

/** One sequencer event as the broker holds and carries it: the fixed part laid out as
    alsa-lib's snd_seq_event_t, and the bytes of a variable-length event (a SysEx) beside
    it. For a variable-length event fixed.data.ext.len equals variable.size() and
    fixed.data.ext.ptr means nothing outside the process that filled it.
*/
struct SequencerEvent
{
    snd_seq_event_t fixed {};
    std::vector<std::uint8_t> variable;
};
