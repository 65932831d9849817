#include "cli/InterruptFlag.h"

#include <atomic>
#include <juce_core/juce_core.h>

#if JUCE_WINDOWS
 #include <windows.h>
#else
 #include <csignal>
#endif

namespace
{
    // Lock-free, so that the handler may set it: nothing else is safe in a handler.
    std::atomic<bool> raised { false };
    static_assert (std::atomic<bool>::is_always_lock_free);

   #if JUCE_WINDOWS
    // Windows runs it on a thread of its own; answering TRUE keeps the process alive.
    BOOL WINAPI onConsoleControl (DWORD event)
    {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
            return FALSE;

        raised.store (true);
        return TRUE;
    }
   #else
    void onInterrupt (int)
    {
        raised.store (true);
    }
   #endif
}

void InterruptFlag::install()
{
   #if JUCE_WINDOWS
    SetConsoleCtrlHandler (onConsoleControl, TRUE);
   #else
    // Without SA_RESTART: a wait of the main thread that the signal reaches returns
    // early, and sees the flag at once.
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset (&action.sa_mask);

    // A stop asked by timeout, systemd or a closed terminal is the user's Ctrl-C: a
    // device killed mid-block would be left waiting in update mode with no word.
    for (const auto signal : { SIGINT, SIGTERM, SIGHUP })
        sigaction (signal, &action, nullptr);
   #endif
}

bool InterruptFlag::isRaised() noexcept
{
    return raised.load();
}
