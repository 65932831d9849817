#pragma once

#include "wizard/WizardPage.h"

/** Asks the user to confirm the update, warns that settings may be lost, and holds
    the tick box the user must switch on before going on.

    The tick box is never switched off by the program: once ticked, it stays ticked
    when the page is shown again. Message thread only.
*/
class ConfirmPage : public WizardPage,
                    public juce::Button::Listener
{
public:
    ConfirmPage();

    /** Shows the question the user is asked to confirm. */
    void setMessage (const juce::String& message);

    /** True when the user has ticked the acknowledgement. */
    bool isAcknowledged() const;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

private:
    juce::TextEditor messageBox { "new text editor" };
    juce::ToggleButton acknowledgeToggle;
    juce::Label warningLabel { "new label" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ConfirmPage)
};
