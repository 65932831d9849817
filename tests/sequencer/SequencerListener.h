#pragma once

#include <alsa/asoundlib.h>

#include <juce_core/juce_core.h>

#include <vector>

/** A user client of the test sequencer of its own, made through the library's calls as
    any program's: one port subscribed to a device's port, to see the events exactly as
    they arrive. Owned and used by the test's thread.
*/
class SequencerListener
{
public:
    using Bytes = std::vector<juce::uint8>;

    SequencerListener();
    ~SequencerListener();

    /** Subscribes the listener's port to client:port; false when that fails. */
    bool listenTo (int client, int port);

    /** Collects the SysEx events that arrive until one ends a message (F7), for up to
        timeoutMs in all; the pieces as they came.
    */
    std::vector<Bytes> sysexPiecesOfOneMessage (int timeoutMs);

private:
    snd_seq_t* sequencer = nullptr;
    int port = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerListener)
};
