#pragma once

#include "sequencer/SequencerKernel.h"

/** Client 14 "Midi Through", as snd-seq-dummy makes it: what its port receives goes on
    unchanged to that port's subscribers.
*/
class MidiThroughClient : public KernelClientReceiver
{
public:
    static constexpr int number = 14;

    explicit MidiThroughClient (SequencerKernel& kernel) noexcept;

    void eventArrived (int port, const SequencerEvent& event) override;

private:
    SequencerKernel& kernel;
};
