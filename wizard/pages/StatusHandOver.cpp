#include "wizard/pages/StatusHandOver.h"

namespace
{
    // Shared between the waiting worker and the posted update, so that whichever
    // of them finishes last frees it.
    struct PendingText
    {
        explicit PendingText (juce::String t) : text (std::move (t)) {}

        const juce::String text;
        juce::WaitableEvent handled;
    };
}

StatusHandOver::StatusHandOver (juce::Label& labelToUpdate)
    : label (&labelToUpdate)
{
}

bool StatusHandOver::show (const juce::String& text)
{
    if (juce::MessageManager::existsAndIsLockedByCurrentThread())
    {
        if (label != nullptr)
            label->setText (text, juce::dontSendNotification);

        return true;
    }

    // A worker told to exit is no longer wanted; its text could land on a page that has
    // moved on to another step.
    if (juce::Thread::currentThreadShouldExit())
        return false;

    auto pending = std::make_shared<PendingText> (text);

    const auto posted = juce::MessageManager::callAsync ([target = label, pending]
    {
        if (target != nullptr)
            target->setText (pending->text, juce::dontSendNotification);

        pending->handled.signal();
    });

    if (! posted)
        return false;

    for (;;)
    {
        if (juce::Thread::currentThreadShouldExit())
            return false;

        if (pending->handled.wait (waitSliceMs))
            return true;
    }
}
