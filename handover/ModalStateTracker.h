#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <juce_core/juce_core.h>

namespace juce { class Component; }

/** A component's modal state as a worker thread may safely see it and end it.

    Asking a component whether it is modal reads JUCE's stack of modal components,
    which only the message thread may touch; so does the check inside
    Component::exitModalState. A tracker, made on the message thread while the
    component is modal, keeps an atomic copy that drops as soon as that modal state
    ends (whoever ends it), and hands a worker's end of the modal state to the
    message thread.

    Workers below the wizard hold one without seeing any of the GUI: the component
    stays a forward declaration here.
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

    // Set on construction; workers only call it. It posts to the message thread,
    // which alone dereferences the component, through a SafePointer.
    const std::function<void (int)> endModalState;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModalStateTracker)
};
