#include "tests/support/FunctionThread.h"

FunctionThread::FunctionThread (std::function<void()> bodyToRun)
    : juce::Thread ("Test worker"), body (std::move (bodyToRun))
{
}

FunctionThread::~FunctionThread()
{
    stopThread (5000);
}

void FunctionThread::run()
{
    body();
}
