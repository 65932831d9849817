#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Puts status texts sent from worker threads on a label, on the message thread,
    and keeps the worker until the text is there.

    A worker must never stay blocked on the message thread when it has been told to
    exit: at that moment the message thread may be waiting for the worker, or the
    application may be quitting and no longer dispatching. So the wait goes in
    short slices and gives up as soon as the calling thread should exit. The posted
    update carries its own copy of the text and a weak reference to the label, so it
    is harmless when the label is gone before it runs.
*/
class StatusHandOver
{
public:
    /** The label must be used on the message thread only, as every component is. */
    explicit StatusHandOver (juce::Label& label);

    /** Any thread. Puts text on the label without the label's change notification:
        at once on the message thread (or a thread holding its lock), otherwise
        through the message thread, waiting for it.

        Returns true when the message thread has handled the text; false when the
        caller was told to exit while waiting, or the message could not be posted
        because the application is quitting.
    */
    bool show (const juce::String& text);

    /** How long one slice of the wait lasts between two checks for an exit request. */
    static constexpr int waitSliceMs = 50;

private:
    // Written by the constructor only; copied by the worker into each posted update.
    juce::Component::SafePointer<juce::Label> label;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StatusHandOver)
};
