#pragma once

#include "wizard/WizardPage.h"

/** The first page: what the program is about to do and what the user should have
    ready. Message thread only.
*/
class WelcomePage : public WizardPage
{
public:
    WelcomePage();

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    juce::TextEditor messageBox { "new text editor" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WelcomePage)
};
