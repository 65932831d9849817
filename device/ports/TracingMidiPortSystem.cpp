#include "device/ports/TracingMidiPortSystem.h"

namespace
{
    // Called on the backend's input thread; writes the message to the trace, then hands
    // it to the device's own callback.
    class TracingCallback : public juce::MidiInputCallback
    {
    public:
        TracingCallback (juce::MidiInputCallback& receiverToUse, MidiTrace& traceToWrite)
            : receiver (receiverToUse),
              trace (traceToWrite)
        {
        }

        void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override
        {
            trace.received (message);
            receiver.handleIncomingMidiMessage (source, message);
        }

        void handlePartialSysexMessage (juce::MidiInput* source, const juce::uint8* data, int size, double time) override
        {
            receiver.handlePartialSysexMessage (source, data, size, time);
        }

    private:
        juce::MidiInputCallback& receiver;
        MidiTrace& trace;
    };

    class TracingInputPort : public MidiInputPort
    {
    public:
        TracingInputPort (juce::MidiInputCallback& receiver, MidiTrace& trace)
            : callback (receiver, trace)
        {
        }

        bool open (MidiPortSystem& ports, int index)
        {
            input = ports.openInput (index, callback);
            return input != nullptr;
        }

        void start() override { input->start(); }
        void stop() override  { input->stop(); }

    private:
        TracingCallback callback;

        // Declared after the callback so that it closes first: once it has, no call of
        // the callback is running.
        std::unique_ptr<MidiInputPort> input;
    };

    class TracingOutputPort : public MidiOutputPort
    {
    public:
        TracingOutputPort (std::unique_ptr<MidiOutputPort> outputToTrace, MidiTrace& traceToWrite)
            : output (std::move (outputToTrace)),
              trace (traceToWrite)
        {
        }

        void sendMessageNow (const juce::MidiMessage& message) override
        {
            trace.sent (message);
            output->sendMessageNow (message);
        }

    private:
        const std::unique_ptr<MidiOutputPort> output;
        MidiTrace& trace;
    };
}

TracingMidiPortSystem::TracingMidiPortSystem (MidiPortSystem& portsToTrace, MidiTrace& traceToWrite)
    : ports (portsToTrace),
      trace (traceToWrite)
{
}

juce::StringArray TracingMidiPortSystem::getInputNames()
{
    return ports.getInputNames();
}

juce::StringArray TracingMidiPortSystem::getOutputNames()
{
    return ports.getOutputNames();
}

std::unique_ptr<MidiInputPort> TracingMidiPortSystem::openInput (int index, juce::MidiInputCallback& callback)
{
    auto input = std::make_unique<TracingInputPort> (callback, trace);

    if (! input->open (ports, index))
        return nullptr;

    return input;
}

std::unique_ptr<MidiOutputPort> TracingMidiPortSystem::openOutput (int index)
{
    auto output = ports.openOutput (index);

    if (output == nullptr)
        return nullptr;

    return std::make_unique<TracingOutputPort> (std::move (output), trace);
}

bool TracingMidiPortSystem::readsInputsApart() const
{
    return ports.readsInputsApart();
}
