#pragma once

#include "wizard/WizardPage.h"

/** Lets the user choose whether the update list offers only the newest firmware
    newer than the device's own, or every firmware version of the product.

    The choice starts on "latest only" and is kept for the life of the page.
    Message thread only.
*/
class SelectVersionFilterPage : public WizardPage,
                                public juce::Button::Listener
{
public:
    SelectVersionFilterPage();

    /** True when only the newest newer version is to be offered. */
    bool isLatestOnly() const;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

private:
    void addChoice (juce::ToggleButton&, const juce::String& tooltip, const juce::String& text);

    juce::ToggleButton latestOnlyButton;
    juce::ToggleButton allVersionsButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SelectVersionFilterPage)
};
