#include "tests/device/DeviceWorker.h"

#include "tests/device/DeviceTestSupport.h"

DeviceWorker::DeviceWorker (std::function<void()> workToDo)
    : juce::Thread ("Device worker"),
      work (std::move (workToDo))
{
}

DeviceWorker::~DeviceWorker()
{
    stopThread (10000);
}

bool DeviceWorker::waitUntilDone()
{
    return waitForThreadToExit (5000);
}

std::string DeviceWorker::getOutcome() const
{
    return outcome;
}

void DeviceWorker::run()
{
    outcome = devicetest::thrownBy (work);
}
