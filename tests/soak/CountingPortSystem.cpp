#include "tests/soak/CountingPortSystem.h"

namespace
{
    class CountedInput : public MidiInputPort
    {
    public:
        CountedInput (std::unique_ptr<MidiInputPort> portToUse, CountingPortSystem& ownerToTell)
            : port (std::move (portToUse)), owner (ownerToTell)
        {
        }

        ~CountedInput() override
        {
            port.reset();
            owner.portClosed();
        }

        void start() override   { port->start(); }
        void stop() override    { port->stop(); }

    private:
        std::unique_ptr<MidiInputPort> port;
        CountingPortSystem& owner;
    };

    class CountedOutput : public MidiOutputPort
    {
    public:
        CountedOutput (std::unique_ptr<MidiOutputPort> portToUse, CountingPortSystem& ownerToTell)
            : port (std::move (portToUse)), owner (ownerToTell)
        {
        }

        ~CountedOutput() override
        {
            port.reset();
            owner.portClosed();
        }

        void sendMessageNow (const juce::MidiMessage& message) override
        {
            owner.messageSent (message);
            port->sendMessageNow (message);
        }

    private:
        std::unique_ptr<MidiOutputPort> port;
        CountingPortSystem& owner;
    };
}

CountingPortSystem::CountingPortSystem (MidiPortSystem& portsToUse)
    : ports (portsToUse)
{
}

int CountingPortSystem::getOpenPorts() const noexcept
{
    return openPorts;
}

std::vector<CountingPortSystem::Message> CountingPortSystem::takeSentMessages()
{
    const std::lock_guard<std::mutex> guard (sentLock);
    return std::exchange (sent, {});
}

juce::StringArray CountingPortSystem::getInputNames()
{
    return ports.getInputNames();
}

juce::StringArray CountingPortSystem::getOutputNames()
{
    return ports.getOutputNames();
}

std::unique_ptr<MidiInputPort> CountingPortSystem::openInput (int index, juce::MidiInputCallback& callback)
{
    auto port = ports.openInput (index, callback);

    if (port == nullptr)
        return {};

    ++openPorts;
    return std::make_unique<CountedInput> (std::move (port), *this);
}

std::unique_ptr<MidiOutputPort> CountingPortSystem::openOutput (int index)
{
    auto port = ports.openOutput (index);

    if (port == nullptr)
        return {};

    ++openPorts;
    return std::make_unique<CountedOutput> (std::move (port), *this);
}

void CountingPortSystem::portClosed() noexcept
{
    --openPorts;
}

void CountingPortSystem::messageSent (const juce::MidiMessage& message)
{
    const auto* data = message.getRawData();
    const std::lock_guard<std::mutex> guard (sentLock);
    sent.emplace_back (data, data + message.getRawDataSize());
}
