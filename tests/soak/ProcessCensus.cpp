#include "tests/soak/ProcessCensus.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace
{
    int countEntries (const char* folder)
    {
        std::error_code error;
        int count = 0;

        for (std::filesystem::directory_iterator i (folder, error), end; ! error && i != end; i.increment (error))
            ++count;

        return count;
    }
}

ProcessCensus ProcessCensus::take()
{
    return { countEntries ("/proc/self/task"), countEntries ("/proc/self/fd") };
}

ProcessCensus ProcessCensus::settleTo (const ProcessCensus& baseline)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (5);

    for (;;)
    {
        const auto census = take();

        if ((census.threads <= baseline.threads && census.openFiles <= baseline.openFiles)
            || std::chrono::steady_clock::now() > deadline)
            return census;

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }
}
