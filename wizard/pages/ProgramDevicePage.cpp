#include "wizard/pages/ProgramDevicePage.h"
#include "wizard/pages/PageSetUp.h"

ProgramDevicePage::ProgramDevicePage()
    : WizardPage ("Updating...", "Please wait while your device's firmware is updated")
{
    PageSetUp::addLabel (*this, statusLabel, "[status]");
    PageSetUp::addProgressBar (*this, progressBar);
    setSize (400, 200);
}

void ProgramDevicePage::reportStatus (const juce::String& text)
{
    statusHandOver.show (text);
}

void ProgramDevicePage::reportProgress (double fraction)
{
    progress.store (fraction);
}

void ProgramDevicePage::visibilityChanged()
{
    // The bar, like this page, looks at its value on a timer; neither runs while the
    // page is hidden. As often as the bar itself looks.
    progressBar.setVisible (isVisible());

    if (isVisible())
        startTimer (30);
    else
        stopTimer();
}

void ProgramDevicePage::timerCallback()
{
    shownProgress = progress.load();
}

void ProgramDevicePage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void ProgramDevicePage::resized()
{
    statusLabel.setBounds (40, 64, 304, 24);
    progressBar.setBounds (40, 96, 320, 16);
}
