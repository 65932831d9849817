#include "wizard/pages/ProgramDevicePage.h"
#include "wizard/pages/PageSetUp.h"

ProgramDevicePage::ProgramDevicePage()
    : WizardPage ("Updating...", "Please wait while your device's firmware is updated")
{
    PageSetUp::addLabel (*this, statusLabel, "[status]");
    addAndMakeVisible (progressBar);

    // As often as the bar itself looks at its value.
    startTimer (30);

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
