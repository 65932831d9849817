#include "wizard/PageModalLoop.h"

#include <memory>

#include "handover/SystemQueue.h"

int PageModalLoop::run (juce::Component& page)
{
    JUCE_ASSERT_MESSAGE_THREAD
    jassert (page.isCurrentlyModal (false));

    struct Outcome
    {
        int result = 0;
        bool finished = false;
    };

    // Shared with the callback, which may still be called after this loop has been left
    // for a quit.
    auto outcome = std::make_shared<Outcome>();
    juce::ModalComponentManager::getInstance()->attachCallback (&page, juce::ModalCallbackFunction::create ([outcome] (int result)
    {
        outcome->result = result;
        outcome->finished = true;
    }));

    const auto* messageManager = juce::MessageManager::getInstance();

    JUCE_TRY
    {
        // Each state change arrives as a message, so one dispatch is enough to notice it.
        while (! outcome->finished && ! messageManager->hasStopMessageBeenSent())
            juce::dispatchNextMessageOnSystemQueue (false);
    }
    JUCE_CATCH_EXCEPTION

    return outcome->finished ? outcome->result : 0;
}
