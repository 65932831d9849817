#include "demo/ExitWatchdog.h"

#include <cstdlib>
#include <iostream>

ExitWatchdog::ExitWatchdog (int timeout)
    : juce::Thread ("Exit watchdog"),
      timeoutMs (timeout)
{
    startThread();
}

ExitWatchdog::~ExitWatchdog()
{
    released.signal();
    stopThread (-1);
}

void ExitWatchdog::run()
{
    if (released.wait (timeoutMs))
        return;

    std::cout << "quillon-demo: still running after " << timeoutMs / 1000 << " s; giving up" << std::endl;
    std::_Exit (1);
}
