#pragma once

#include "sequencer/SequencerKernel.h"

#include <memory>
#include <string>

/** The broker's door: listens on a Unix socket for the stand-in libasound's
    connections and serves each as a user client of kernel, as /dev/snd/seq serves
    alsa-lib. The stand-in finds the socket through QUILLON_SEQUENCER_SOCKET.

    Serves on threads of its own from construction until it is destroyed; destroying it
    closes every connection (their clients leave the kernel as a closed program's do)
    and joins those threads. The kernel must outlive it.
*/
class SequencerServer
{
public:
    static constexpr const char* socketVariable = "QUILLON_SEQUENCER_SOCKET";

    SequencerServer (SequencerKernel& kernel, const std::string& socketPath);
    ~SequencerServer();

private:
    class Connections;
    std::unique_ptr<Connections> connections;
};
