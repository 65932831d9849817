#include "app/RepaintPump.h"

RepaintPump::RepaintPump (juce::Component& window)
{
    vBlank.emplace (&window, [this] { vBlankArrived = true; });
    startTimer (frameMs);
}

RepaintPump::~RepaintPump()
{
    stopTimer();
}

void RepaintPump::timerCallback()
{
    // The attachment is let go here rather than in its own callback, which it would
    // outlive.
    if (vBlankArrived)
    {
        stopTimer();
        vBlank.reset();
        return;
    }

    // Tooltips, menus and message boxes are windows of their own, each with its own
    // marked changes.
    for (int i = juce::ComponentPeer::getNumPeers(); --i >= 0;)
        if (auto* peer = juce::ComponentPeer::getPeer (i))
            peer->performAnyPendingRepaintsNow();
}
