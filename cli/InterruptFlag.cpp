#include "cli/InterruptFlag.h"

#include <atomic>
#include <csignal>

namespace
{
    // Lock-free, so that the handler may set it: nothing else is safe in a handler.
    std::atomic<bool> raised { false };
    static_assert (std::atomic<bool>::is_always_lock_free);

    void onInterrupt (int)
    {
        raised.store (true);
    }
}

void InterruptFlag::install()
{
    // Without SA_RESTART: a wait of the main thread that the signal reaches returns
    // early, and sees the flag at once.
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset (&action.sa_mask);
    sigaction (SIGINT, &action, nullptr);
}

bool InterruptFlag::isRaised() noexcept
{
    return raised.load();
}
