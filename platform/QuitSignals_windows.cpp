#include "platform/QuitSignals.h"

// Windows asks a windowed program to end through its window (WM_CLOSE, WM_QUERYENDSESSION),
// which JUCE already turns into a request to quit.
QuitSignals::QuitSignals (std::function<void()> onQuitRequested)
    : onQuit (std::move (onQuitRequested))
{
}

QuitSignals::~QuitSignals() = default;

void QuitSignals::drain()
{
}
