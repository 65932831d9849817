#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/** A juce::Thread that runs one function, so that a test can play a worker. */
class FunctionThread : public juce::Thread
{
public:
    explicit FunctionThread (std::function<void()> body);
    ~FunctionThread() override;

    void run() override;

private:
    std::function<void()> body;
};
