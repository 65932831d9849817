#include "wizard/pages/SelectVersionFilterPage.h"
#include "wizard/pages/PageSetUp.h"

SelectVersionFilterPage::SelectVersionFilterPage()
    : WizardPage ("Version Filtering", "Select a version filtering method")
{
    addChoice (latestOnlyButton,
               "Check this to have the updater check the web only for firmware versions that are newer "
               "than the version in your device",
               "Only show the latest version newer than mine (recommended)");
    addChoice (allVersionsButton,
               "Check this to have the updater show all versions of firmware that are available for your device",
               "Show all available versions");

    latestOnlyButton.setToggleState (true, juce::dontSendNotification);

    setSize (400, 200);
}

void SelectVersionFilterPage::addChoice (juce::ToggleButton& button, const juce::String& tooltip,
                                         const juce::String& text)
{
    addAndMakeVisible (button);
    button.setTooltip (tooltip);
    button.setButtonText (text);
    button.setRadioGroupId (1);
    button.addListener (this);
}

bool SelectVersionFilterPage::isLatestOnly() const
{
    return latestOnlyButton.getToggleState();
}

void SelectVersionFilterPage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void SelectVersionFilterPage::resized()
{
    latestOnlyButton.setBounds (16, 64, 376, 24);
    allVersionsButton.setBounds (16, 88, 272, 24);
}

void SelectVersionFilterPage::buttonClicked (juce::Button* button)
{
    if (button == &latestOnlyButton || button == &allVersionsButton)
        sendChangeMessage();
}
