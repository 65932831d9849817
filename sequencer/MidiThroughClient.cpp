#include "sequencer/MidiThroughClient.h"

MidiThroughClient::MidiThroughClient (SequencerKernel& k) noexcept
    : kernel (k)
{
}

void MidiThroughClient::eventArrived (int port, const SequencerEvent& event)
{
    auto echo = event;
    echo.fixed.source.port = (unsigned char) port;
    echo.fixed.dest.client = SND_SEQ_ADDRESS_SUBSCRIBERS;
    echo.fixed.dest.port = SND_SEQ_ADDRESS_UNKNOWN;
    kernel.dispatch (number, std::move (echo));
}
