#include "sequencer/devices/SequencerDevice.h"

#include "sequencer/devices/SequencerEventSplitter.h"

#include <algorithm>

SequencerDevice::SequencerDevice (SequencerKernel& kernelToUse, snd_seq_addr_t portAddress,
                                  SimulatedDeviceConfig config, size_t sysexPieceToUse,
                                  std::function<void()> whenVanished)
    : kernel (kernelToUse),
      address (portAddress),
      sysexPiece (sysexPieceToUse),
      bytesPerSecond (config.linkBytesPerSecond)
{
    toDevice = ports.openOutput (ports.addOutput (config.portName));
    fromDevice = ports.openInput (ports.addInput (config.portName), *this);
    fromDevice->start();

    const auto vanishes = canVanish (config);
    device = std::make_unique<SimulatedDevice> (ports, std::move (config));

    if (vanishes && whenVanished != nullptr)
        watcher = std::thread ([this, whenVanished] { watchForVanishing (whenVanished); });
}

SequencerDevice::~SequencerDevice()
{
    detach();
    fromDevice.reset();

    const std::lock_guard<std::mutex> lock (toDeviceLock);
    toDevice.reset();
}

void SequencerDevice::eventArrived (const SequencerEvent& event)
{
    const std::lock_guard<std::mutex> lock (toDeviceLock);

    if (toDevice == nullptr)
        return;

    for (const auto& message : joiner.join (event))
        toDevice->sendMessageNow (message);
}

const SimulatedDevice& SequencerDevice::getDevice() const noexcept
{
    return *device;
}

void SequencerDevice::detach()
{
    detaching = true;

    if (watcher.joinable())
        watcher.join();

    device.reset();
}

void SequencerDevice::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    auto nextPieceAt = std::chrono::steady_clock::now();

    for (auto& event : SequencerEventSplitter::eventsFor (message, address, sysexPiece))
    {
        std::this_thread::sleep_until (nextPieceAt);

        if (detaching)
            return;

        nextPieceAt += wireTimeOf (event);

        // The kernel refuses only when the client has gone, and then nobody is listening.
        kernel.dispatch (address.client, std::move (event));
    }
}

std::chrono::microseconds SequencerDevice::wireTimeOf (const SequencerEvent& event) const
{
    if (bytesPerSecond <= 0.0 || event.variable.empty())
        return {};

    return std::chrono::microseconds ((juce::int64) ((double) event.variable.size() * 1.0e6 / bytesPerSecond));
}

void SequencerDevice::watchForVanishing (std::function<void()> whenVanished)
{
    // In slices, so that a device that never vanishes lets its owner end the watch.
    constexpr int sliceMs = 10;

    while (! detaching)
    {
        if (device->waitUntilVanished (sliceMs))
        {
            whenVanished();
            return;
        }
    }
}

bool SequencerDevice::canVanish (const SimulatedDeviceConfig& config)
{
    return std::any_of (config.faults.begin(), config.faults.end(),
                        [] (const SimulatedFault& fault) { return fault.kind == SimulatedFault::Kind::vanishAfterReply; });
}
