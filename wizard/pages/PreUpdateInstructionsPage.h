#pragma once

#include "wizard/WizardPage.h"

/** Shows what the user must do to the device before it can be programmed.
    Message thread only.
*/
class PreUpdateInstructionsPage : public WizardPage
{
public:
    PreUpdateInstructionsPage();

    /** Shows these instructions in place of any shown before. */
    void setInstructions (const juce::String& instructions);

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    juce::TextEditor messageBox { "new text editor" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PreUpdateInstructionsPage)
};
