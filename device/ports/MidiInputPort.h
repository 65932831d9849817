#pragma once

/** An open MIDI input of a MidiPortSystem. It was opened with a juce::MidiInputCallback,
    which receives each incoming message on a thread of the backend's own (never on the
    thread that sent it), one complete SysEx message per call, in arrival order.

    Destroying the port closes it: once the destructor has returned no callback of it is
    running and none will run, so the callback's owner may go away. It must not be
    destroyed from inside its own callback. Messages that arrive while the port is not
    started are lost, as they are on a real input.

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
};
