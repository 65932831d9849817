#include "wizard/pages/ConfirmPage.h"
#include "wizard/pages/PageSetUp.h"
#include "flow/UpdateTexts.h"

ConfirmPage::ConfirmPage()
    : WizardPage ("Confirm", "Confirm your choices")
{
    PageSetUp::addMessageBox (*this, messageBox, PageSetUp::MessageBoxKind::fixedText);

    addAndMakeVisible (acknowledgeToggle);
    acknowledgeToggle.setButtonText (UpdateTexts::acknowledgement);
    acknowledgeToggle.addListener (this);

    PageSetUp::addBoldLabel (*this, warningLabel, UpdateTexts::settingsWarning);

    setSize (400, 200);
}

void ConfirmPage::setMessage (const juce::String& message)
{
    messageBox.setText (message);
}

bool ConfirmPage::isAcknowledged() const
{
    return acknowledgeToggle.getToggleState();
}

void ConfirmPage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void ConfirmPage::resized()
{
    messageBox.setBounds (24, 16, 352, 48);
    acknowledgeToggle.setBounds (24, 144, 360, 24);
    warningLabel.setBounds (24, 88, 360, 24);
}

void ConfirmPage::buttonClicked (juce::Button* button)
{
    if (button == &acknowledgeToggle)
        sendChangeMessage();
}
