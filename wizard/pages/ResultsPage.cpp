#include "wizard/pages/ResultsPage.h"
#include "wizard/pages/PageSetUp.h"

ResultsPage::ResultsPage()
    : WizardPage ("Update Results", {})
{
    PageSetUp::addMessageBox (*this, messageBox, PageSetUp::MessageBoxKind::browsableText);

    setSize (400, 200);
}

void ResultsPage::setDetails (const juce::String& details)
{
    messageBox.setText (details);

    // The editor keeps its caret, and its selection when the text is the same, from the
    // run before; a new outcome is read from its start.
    messageBox.moveCaretToTop (false);
}

void ResultsPage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void ResultsPage::resized()
{
    messageBox.setBounds (32, 32, 336, 128);
}
