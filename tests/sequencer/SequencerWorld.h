#pragma once

#include "sequencer/SequencerKernel.h"
#include "sequencer/SequencerServer.h"

#include <juce_core/juce_core.h>

/** The broker for this test process: one kernel and its server on a socket in a
    temporary folder, made on first use and kept until the process ends. JUCE keeps one
    ALSA client for the process and opens it again at the next listing, so the socket's
    variable is set once, before JUCE's first MIDI call, and never changes.

    Refuses to start (throws) when the process has loaded the system's libasound instead
    of the stand-in: then these tests would test nothing.
*/
class SequencerWorld
{
public:
    static SequencerWorld& get();

    SequencerKernel kernel;

    /** The user clients' ports: the ports of the programs connected, this one's too. */
    std::vector<SequencerKernel::PortState> userPorts() const;

    /** Waits (bounded) until no user client holds a port. */
    bool waitUntilNoUserPorts() const;

private:
    SequencerWorld();

    juce::TemporaryFile socketFolder;
    std::unique_ptr<SequencerServer> server;
};
