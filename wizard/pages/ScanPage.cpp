#include "wizard/pages/ScanPage.h"
#include "wizard/pages/PageSetUp.h"

ScanPage::ScanPage()
    : WizardPage ("Downloading Update Information...", "Checking for available firmware updates")
{
    PageSetUp::addLabel (*this, statusLabel, "label text");
    PageSetUp::addCancelButton (*this, cancelButton, *this);

    setSize (400, 200);
}

void ScanPage::reportStatus (const juce::String& text)
{
    statusHandOver.show (text);
}

void ScanPage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void ScanPage::resized()
{
    statusLabel.setBounds (40, 64, 150, 24);
    cancelButton.setBounds (40, 120, 72, 32);
}

bool ScanPage::keyPressed (const juce::KeyPress& key)
{
    return PageSetUp::pressCancelOnEscape (key, cancelButton);
}

void ScanPage::buttonClicked (juce::Button* button)
{
    if (button == &cancelButton)
        exitModalState (0);
}
