#include "handover/ModalStateTracker.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
    std::function<void (int)> makeModalStateEnder (juce::Component& component,
                                                   std::shared_ptr<std::atomic<bool>> modal)
    {
        return [target = juce::Component::SafePointer<juce::Component> (&component), modal] (int result)
        {
            // The flag keeps a late request from ending a later modal state of the same page.
            juce::MessageManager::callAsync ([target, modal, result]
            {
                if (modal->load() && target != nullptr)
                    target->exitModalState (result);
            });
        };
    }
}

ModalStateTracker::ModalStateTracker (juce::Component& componentToTrack)
    : modal (std::make_shared<std::atomic<bool>> (componentToTrack.isCurrentlyModal (false))),
      endModalState (makeModalStateEnder (componentToTrack, modal))
{
    jassert (modal->load()); // enter the modal state first, or every test will see it ended

    juce::ModalComponentManager::getInstance()->attachCallback (&componentToTrack,
        juce::ModalCallbackFunction::create ([flag = modal] (int) { flag->store (false); }));
}

bool ModalStateTracker::isStillModal() const noexcept
{
    return modal->load();
}

void ModalStateTracker::exitModalState (int result) const
{
    endModalState (result);
}
