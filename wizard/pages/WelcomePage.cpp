#include "wizard/pages/WelcomePage.h"
#include "wizard/pages/PageSetUp.h"

WelcomePage::WelcomePage()
    : WizardPage ("Welcome", "Welcome to Quillon")
{
    PageSetUp::addMessageBox (*this, messageBox, PageSetUp::MessageBoxKind::fixedText);
    messageBox.setText ("This application will update your devices' firmware. Please make sure your computer "
                        "is connected to the internet, and that your updatable devices are connected to your "
                        "computer and powered on. Then, click Next to proceed.");

    setSize (400, 200);
}

void WelcomePage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void WelcomePage::resized()
{
    messageBox.setBounds (40, 48, 312, 88);
}
