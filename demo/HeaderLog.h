#pragma once

#include "wizard/WizardComponent.h"

#include <functional>

/** Tells its owner each header the wizard shows: the caption and description of every
    page as it is shown, and again whenever the page changes them while it is shown
    (the scan page when the device scan starts).

    It watches the frame's page area for the page being swapped, and the page shown
    for its change messages, so even a page that is shown only for a moment is told.
    Message thread; the wizard must outlive it.
*/
class HeaderLog : private juce::ComponentListener,
                  private juce::ChangeListener
{
public:
    using Callback = std::function<void (const juce::String& caption, const juce::String& description)>;

    HeaderLog (WizardComponent& wizard, Callback headerShown);
    ~HeaderLog() override;

private:
    void componentChildrenChanged (juce::Component&) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void follow (WizardPage* page);
    void tell (const WizardPage& page);

    WizardComponent& wizard;
    const Callback headerShown;
    juce::Component::SafePointer<juce::Component> pageArea;
    WizardPage* followed = nullptr;
    juce::String lastCaption, lastDescription;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HeaderLog)
};
