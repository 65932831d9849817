#include "catalogue/ModalStateTracker.h"

ModalStateTracker::ModalStateTracker (juce::Component& componentToTrack)
    : modal (std::make_shared<std::atomic<bool>> (componentToTrack.isCurrentlyModal (false))),
      component (&componentToTrack)
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
    // The flag keeps a late request from ending a later modal state of the same page.
    juce::MessageManager::callAsync ([target = component, flag = modal, result]
    {
        if (flag->load() && target != nullptr)
            target->exitModalState (result);
    });
}
