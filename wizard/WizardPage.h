#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The base of every page of the wizard: a plain white component that carries the
    caption and description the frame shows in its header.

    Whoever changes caption or description afterwards sends this page's change
    message (with the page as its source) so that the frame refreshes its header.
    Message thread only.
*/
class WizardPage : public juce::Component,
                   public juce::ChangeBroadcaster
{
public:
    WizardPage (juce::String caption, juce::String description);

    void paint (juce::Graphics&) override;

    juce::String caption;
    juce::String description;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WizardPage)
};
