#include "tests/sequencer/KernelDevice.h"

#include <chrono>

KernelDevice::KernelDevice (SequencerKernel& k, const std::string& name, const std::vector<std::string>& portNames)
    : kernel (k), client (k.addKernelClient (name, *this))
{
    const auto everyone = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_READ
                        | SND_SEQ_PORT_CAP_SUBS_WRITE | SND_SEQ_PORT_CAP_DUPLEX;

    for (const auto& portName : portNames)
        kernel.addKernelPort (client, portName, everyone,
                              SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE | SND_SEQ_PORT_TYPE_PORT);
}

KernelDevice::~KernelDevice()
{
    unplug();
}

void KernelDevice::unplug()
{
    if (plugged.exchange (false))
        kernel.removeClient (client);
}

int KernelDevice::sendSysex (int port, const std::vector<std::uint8_t>& message)
{
    SequencerEvent event;
    event.fixed.type = SND_SEQ_EVENT_SYSEX;
    event.fixed.flags = SND_SEQ_EVENT_LENGTH_VARIABLE;
    event.fixed.queue = SND_SEQ_QUEUE_DIRECT;
    event.fixed.source.port = (unsigned char) port;
    event.fixed.dest.client = SND_SEQ_ADDRESS_SUBSCRIBERS;
    event.fixed.data.ext.len = (unsigned) message.size();
    event.variable = message;
    return kernel.dispatch (client, std::move (event));
}

std::vector<std::uint8_t> KernelDevice::waitForBytes (std::size_t count)
{
    std::unique_lock<std::mutex> sl (lock);
    arrived.wait_for (sl, std::chrono::seconds (5), [&] { return bytes.size() >= count; });
    return bytes;
}

void KernelDevice::eventArrived (int, const SequencerEvent& event)
{
    if (event.fixed.type != SND_SEQ_EVENT_SYSEX)
        return;

    const std::lock_guard<std::mutex> sl (lock);
    bytes.insert (bytes.end(), event.variable.begin(), event.variable.end());
    arrived.notify_all();
}
