#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** An open MIDI input of a MidiPortSystem. It was opened with a juce::MidiInputCallback,
    which receives each incoming message on a thread of the backend's own (never on the
    thread that sent it), one complete SysEx message per call, in arrival order.

    Destroying the port closes it: once the destructor has returned no callback of it is
    running and none will run, so the callback's owner may go away. It must not be
    destroyed from inside its own callback. Messages that arrive while the port is not
    started are lost, as they are on a real input.

    A SysEx message longer than maxSysexBytes is dropped, never handed to the callback:
    whoever sends it, nothing this program listens for is that long.

    Owned and driven by one thread at a time (the worker that drives a device).
*/
class MidiInputPort
{
public:
    virtual ~MidiInputPort() = default;

    /** Starts delivering incoming messages to the callback. Harmless when already started. */
    virtual void start() = 0;

    /** Stops delivering: no callback starts after this returns, though one that was
        already running may still be finishing. Harmless when not started.
    */
    virtual void stop() = 0;

    /** The longest SysEx message an input hands on, F0 and F7 included. The longest reply
        a device sends is 2,357 bytes (an identity reply whose two texts each hold the
        1,023 characters that are read of them, under a three-byte manufacturer ID); this
        leaves it room nearly seven times over.
    */
    static constexpr int maxSysexBytes = 16 * 1024;

    /** Whether message is a SysEx message too long to be handed on. */
    static bool isOversizedSysex (const juce::MidiMessage& message) noexcept
    {
        return message.isSysEx() && message.getRawDataSize() > maxSysexBytes;
    }
};
