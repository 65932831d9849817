#pragma once

#include "wizard/WizardPage.h"

/** The last page: the outcome of the run. Whoever shows it writes the caption and
    description for the outcome and the details; the text can be scrolled, selected
    and copied but not edited. Message thread only.
*/
class ResultsPage : public WizardPage
{
public:
    ResultsPage();

    /** Shows these details in place of any shown before, from their start, with
        nothing selected.
    */
    void setDetails (const juce::String& details);

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    juce::TextEditor messageBox;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ResultsPage)
};
