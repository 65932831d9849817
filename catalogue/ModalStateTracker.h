#pragma once

#include <atomic>
#include <memory>
#include <juce_gui_basics/juce_gui_basics.h>

/** A component's modal state as a worker thread may safely see it and end it.

    Asking a component whether it is modal reads JUCE's stack of modal components,
    which only the message thread may touch; so does the check inside
    Component::exitModalState. A tracker, made on the message thread while the
    component is modal, keeps an atomic copy that drops as soon as that modal state
    ends (whoever ends it), and hands a worker's end of the modal state to the
    message thread.
*/
class ModalStateTracker
{
public:
    /** Message thread. The component should be modal already (enterModalState). */
    explicit ModalStateTracker (juce::Component& component);

    /** Any thread. True until the modal state the component had at construction ends. */
    bool isStillModal() const noexcept;

    /** Any thread. Ends that modal state with result, on the message thread; nothing
        happens if it has ended by then or the component is gone.
    */
    void exitModalState (int result) const;

private:
    // Shared with the modal manager's callback, which may outlive the tracker.
    std::shared_ptr<std::atomic<bool>> modal;

    // Set on construction; workers only copy it, the message thread dereferences it.
    const juce::Component::SafePointer<juce::Component> component;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModalStateTracker)
};
