#include "tests/sim/SimHost.h"

#include "tests/sim/SimBytes.h"

#include <chrono>

SimHost::SimHost (VirtualMidiPortSystem& portsToUse, const juce::String& portName)
    : ports (portsToUse),
      inputIndex (portsToUse.addInput (portName)),
      outputIndex (portsToUse.addOutput (portName))
{
    openPorts();
}

SimHost::~SimHost()
{
    closePorts();
}

void SimHost::openPorts()
{
    input = ports.openInput (inputIndex, *this);
    output = ports.openOutput (outputIndex);
    input->start();
}

void SimHost::closePorts()
{
    input.reset();
    output.reset();
}

void SimHost::send (const Bytes& message)
{
    output->sendMessageNow (juce::MidiMessage (message.data(), (int) message.size()));
}

bool SimHost::waitForReceived (int count) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return messageArrived.wait_for (lock, std::chrono::milliseconds (waitBoundMs),
                                    [this, count] { return (int) received.size() >= count; });
}

std::vector<juce::String> SimHost::getReceived() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return received;
}

void SimHost::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        received.push_back (simbytes::hexOf (message));
    }

    messageArrived.notify_all();
}
