#include "tests/support/DisplayFocus.h"

#include "tests/support/MessageLoop.h"

DisplayFocus::DisplayFocus()
    : held (lock.enter (60000))
{
}

DisplayFocus::~DisplayFocus()
{
    if (held)
        lock.exit();
}

bool DisplayFocus::focus (juce::Component& window)
{
    auto* peer = window.getPeer();

    if (peer == nullptr)
        return false;

    if (peer->isFocused())
        return true;

    window.toFront (true);
    const auto focused = MessageLoop::dispatchUntil ([peer] { return peer->isFocused(); });
    MessageLoop::dispatchPending();
    return focused;
}
