// The snd_midi_event_* calls: MIDI bytes to sequencer events and back.

#include "sequencer/standin/MidiEventCoder.h"

#include <cerrno>
#include <memory>

extern "C"
{

int snd_midi_event_new (size_t bufsize, snd_midi_event_t** rdev)
{
    if (rdev == nullptr)
        return -EINVAL;

    *rdev = std::make_unique<snd_midi_event> (bufsize).release();
    return 0;
}

void snd_midi_event_free (snd_midi_event_t* dev)
{
    std::unique_ptr<snd_midi_event> freed (dev);
}

void snd_midi_event_init (snd_midi_event_t* dev)
{
    dev->resetEncode();
    dev->resetDecode();
}

void snd_midi_event_reset_encode (snd_midi_event_t* dev)    { dev->resetEncode(); }
void snd_midi_event_reset_decode (snd_midi_event_t* dev)    { dev->resetDecode(); }

long snd_midi_event_encode (snd_midi_event_t* dev, const unsigned char* buf, long count, snd_seq_event_t* ev)
{
    return dev != nullptr && buf != nullptr && ev != nullptr ? dev->encode (buf, count, *ev) : -EINVAL;
}

int snd_midi_event_encode_byte (snd_midi_event_t* dev, int c, snd_seq_event_t* ev)
{
    return dev != nullptr && ev != nullptr ? dev->encodeByte (c, *ev) : -EINVAL;
}

long snd_midi_event_decode (snd_midi_event_t* dev, unsigned char* buf, long count, const snd_seq_event_t* ev)
{
    return dev != nullptr && buf != nullptr && ev != nullptr ? dev->decode (buf, count, *ev) : -EINVAL;
}

}
