#include "wizard/pages/DownloadImagePage.h"
#include "wizard/pages/PageSetUp.h"

DownloadImagePage::DownloadImagePage()
    : WizardPage ("Downloading File...", "The image file is being downloaded from the server")
{
    PageSetUp::addLabel (*this, statusLabel, "[status]");
    PageSetUp::addProgressBar (*this, progressBar);
    PageSetUp::addCancelButton (*this, cancelButton, *this);

    setSize (400, 200);
}

void DownloadImagePage::reportStatus (const juce::String& text)
{
    statusHandOver.show (text);
}

void DownloadImagePage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void DownloadImagePage::resized()
{
    statusLabel.setBounds (40, 64, 320, 24);
    progressBar.setBounds (40, 96, 320, 16);
    cancelButton.setBounds (40, 136, 72, 32);
}

void DownloadImagePage::visibilityChanged()
{
    // A visible bar animates itself on a timer, whether its page is shown or not.
    progressBar.setVisible (isVisible());
}

bool DownloadImagePage::keyPressed (const juce::KeyPress& key)
{
    return PageSetUp::pressCancelOnEscape (key, cancelButton);
}

void DownloadImagePage::buttonClicked (juce::Button* button)
{
    if (button == &cancelButton)
        exitModalState (0);
}
