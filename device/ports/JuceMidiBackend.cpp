#include "device/ports/JuceMidiBackend.h"

class JuceMidiBackend::State
{
public:
    // Guards every call into JUCE's MIDI devices and the counts below.
    juce::CriticalSection lock;
    int openPorts = 0;
    int runningInputs = 0;

    // When the last running input stopped while ports stayed open; 0 when none did, or
    // every port has closed since (JUCE then waited for its input thread to end).
    juce::uint32 lastStopWithClientAlive = 0;

    // Guards the client's handle while a message is written through it.
    juce::CriticalSection sendLock;

    void portClosed()
    {
        if (--openPorts == 0)
            lastStopWithClientAlive = 0;
    }
};

JuceMidiBackend::State& JuceMidiBackend::getState()
{
    static State state;
    return state;
}

juce::Array<juce::MidiDeviceInfo> JuceMidiBackend::getInputs()
{
    const juce::ScopedLock sl (getState().lock);
    return juce::MidiInput::getAvailableDevices();
}

juce::Array<juce::MidiDeviceInfo> JuceMidiBackend::getOutputs()
{
    const juce::ScopedLock sl (getState().lock);
    return juce::MidiOutput::getAvailableDevices();
}

std::unique_ptr<juce::MidiInput> JuceMidiBackend::openInput (const juce::String& identifier, juce::MidiInputCallback& callback)
{
    auto& state = getState();
    const juce::ScopedLock sl (state.lock);
    auto input = juce::MidiInput::openDevice (identifier, &callback);

    if (input != nullptr)
        ++state.openPorts;

    return input;
}

std::unique_ptr<juce::MidiOutput> JuceMidiBackend::openOutput (const juce::String& identifier)
{
    auto& state = getState();
    const juce::ScopedLock sl (state.lock);
    auto output = juce::MidiOutput::openDevice (identifier);

    if (output != nullptr)
        ++state.openPorts;

    return output;
}

void JuceMidiBackend::start (juce::MidiInput& input)
{
    auto& state = getState();
    const juce::ScopedLock sl (state.lock);

    if (state.runningInputs == 0 && state.lastStopWithClientAlive != 0)
    {
        const auto sinceStop = (int) (juce::Time::getMillisecondCounter() - state.lastStopWithClientAlive);

        if (sinceStop < inputThreadEndMs)
            juce::Thread::sleep (inputThreadEndMs - sinceStop);
    }

    input.start();
    ++state.runningInputs;
}

void JuceMidiBackend::stop (juce::MidiInput& input)
{
    auto& state = getState();
    const juce::ScopedLock sl (state.lock);
    input.stop();

    if (--state.runningInputs == 0)
        state.lastStopWithClientAlive = juce::jmax ((juce::uint32) 1, juce::Time::getMillisecondCounter());
}

void JuceMidiBackend::send (juce::MidiOutput& output, const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (getState().sendLock);
    output.sendMessageNow (message);
}

void JuceMidiBackend::close (std::unique_ptr<juce::MidiInput> input)
{
    auto& state = getState();
    const juce::ScopedLock sl (state.lock);
    input.reset();
    state.portClosed();
}

void JuceMidiBackend::close (std::unique_ptr<juce::MidiOutput> output)
{
    auto& state = getState();
    const juce::ScopedLock sl (state.lock);
    output.reset();
    state.portClosed();
}
