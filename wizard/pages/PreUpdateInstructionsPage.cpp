#include "wizard/pages/PreUpdateInstructionsPage.h"
#include "wizard/pages/PageSetUp.h"

PreUpdateInstructionsPage::PreUpdateInstructionsPage()
    : WizardPage ("Prepare to Update", "Please follow these instructions before continuing")
{
    PageSetUp::addMessageBox (*this, messageBox, PageSetUp::MessageBoxKind::fixedText);

    setSize (400, 200);
}

void PreUpdateInstructionsPage::setInstructions (const juce::String& instructions)
{
    messageBox.setText (instructions);
}

void PreUpdateInstructionsPage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void PreUpdateInstructionsPage::resized()
{
    messageBox.setBounds (40, 48, 312, 120);
}
