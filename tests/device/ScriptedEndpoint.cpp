#include "tests/device/ScriptedEndpoint.h"

namespace
{
    constexpr auto receiveBound = std::chrono::seconds (5);

    juce::MidiMessage toMidi (const devicetest::Bytes& bytes)
    {
        return juce::MidiMessage (bytes.data(), (int) bytes.size());
    }
}

ScriptedEndpoint::ScriptedEndpoint (VirtualMidiPortSystem& ports, const juce::String& portName)
    : connection (ports.attach (portName, *this))
{
}

ScriptedEndpoint::~ScriptedEndpoint()
{
    std::unique_ptr<VirtualEndpointConnection> leaving;

    {
        const std::lock_guard<std::mutex> guard (mutex);
        leaving = std::move (connection);
    }

    // Destroyed outside the lock: it waits for a delivery that may be waiting for the lock.
}

void ScriptedEndpoint::thenAnswer (std::vector<devicetest::Bytes> messages)
{
    const std::lock_guard<std::mutex> guard (mutex);
    answers.push_back (std::move (messages));
}

void ScriptedEndpoint::sendUnasked (const devicetest::Bytes& message)
{
    const std::lock_guard<std::mutex> guard (mutex);
    connection->sendToHost (toMidi (message));
}

std::vector<std::string> ScriptedEndpoint::getReceived() const
{
    const std::lock_guard<std::mutex> guard (mutex);
    return received;
}

bool ScriptedEndpoint::waitForReceived (size_t count) const
{
    std::unique_lock<std::mutex> guard (mutex);
    return heardSomething.wait_for (guard, receiveBound, [&] { return received.size() >= count; });
}

std::vector<std::string> ScriptedEndpoint::waitForPortChanges (size_t count) const
{
    std::unique_lock<std::mutex> guard (mutex);
    heardSomething.wait_for (guard, receiveBound, [&] { return portChanges.size() >= count; });
    return portChanges;
}

void ScriptedEndpoint::messageFromHost (const juce::MidiMessage& message)
{
    {
        // Sending does not wait for the host, so it may happen under the lock.
        const std::lock_guard<std::mutex> guard (mutex);
        const auto* raw = message.getRawData();
        received.push_back (devicetest::hexOf ({ raw, raw + message.getRawDataSize() }));

        if (! answers.empty())
        {
            for (const auto& reply : answers.front())
                if (connection != nullptr)
                    connection->sendToHost (toMidi (reply));

            answers.pop_front();
        }
    }

    heardSomething.notify_all();
}

void ScriptedEndpoint::hostPortsChanged (int openInputs, int openOutputs)
{
    {
        const std::lock_guard<std::mutex> guard (mutex);
        portChanges.push_back (std::to_string (openInputs) + "/" + std::to_string (openOutputs));
    }

    heardSomething.notify_all();
}
