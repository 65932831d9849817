#include "tests/soak/CountingPortSystem.h"

namespace
{
    /** A port of the wrapped system that tells the counting one when it closes. */
    template <typename Port>
    class CountedPort : public Port
    {
    public:
        CountedPort (std::unique_ptr<Port> portToUse, CountingPortSystem& ownerToTell)
            : port (std::move (portToUse)), owner (ownerToTell)
        {
        }

        ~CountedPort() override
        {
            port.reset();
            owner.portClosed();
        }

    protected:
        std::unique_ptr<Port> port;
        CountingPortSystem& owner;
    };

    class CountedInput : public CountedPort<MidiInputPort>
    {
    public:
        using CountedPort::CountedPort;

        void start() override { port->start(); }
        void stop() override { port->stop(); }
    };

    class CountedOutput : public CountedPort<MidiOutputPort>
    {
    public:
        using CountedPort::CountedPort;

        void sendMessageNow (const juce::MidiMessage& message) override
        {
            owner.messageSent (message);
            port->sendMessageNow (message);
        }
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
