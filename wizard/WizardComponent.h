#pragma once

#include "wizard/WizardKeys.h"
#include "wizard/WizardPage.h"

/** A generic wizard frame: a header with the current page's caption and
    description, an area that shows exactly one page, and the navigation buttons.

    The frame knows nothing of the flow it runs: it reports clicks through the four
    virtual operations and lets its subclass decide which page comes next and which
    buttons are enabled or visible. It never owns the pages it shows.

    Keyboard: Tab and Shift-Tab go through the page's controls and then the frame's
    buttons in reading order; a page, when shown or when the wizard is given the focus,
    has its first control focused (the default button when it has none); Return
    presses the default button (Next, or Done where Next is hidden) unless the focused
    control is a button of its own.
    Message thread only.
*/
class WizardComponent : public juce::Component,
                        public juce::ChangeListener,
                        public juce::Button::Listener
{
public:
    enum Buttons
    {
        NextButton = 1,
        BackButton = 2,
        DoneButton = 4,
        StartOverButton = 8,
        AllButtons = 15
    };

    WizardComponent();
    ~WizardComponent() override;

    /** Enables or disables every button whose bit is set in mask. */
    void setButtonsEnabled (bool enabled, int mask);

    /** Shows or hides every button whose bit is set in mask. */
    void setButtonsVisible (int mask, bool visible);

    /** Makes page the one shown, and the one whose change messages refresh the header. */
    void showPage (WizardPage* page);

    /** The page shown now, or nullptr before the first showPage. */
    WizardPage* currentPage() const;

    /** Shows the wait cursor over the frame and its pages while isWaiting; controls
        that still respond (a page's Cancel) keep their own cursor.
    */
    void setWaiting (bool isWaiting);

    /** Presses Next, or Done where Next is hidden, if it is shown and enabled and no
        modal page blocks it; says whether it did.
    */
    bool pressDefaultButton();

    virtual void nextClicked() {}
    virtual void backClicked() {}
    virtual void doneClicked() {}
    virtual void startOverClicked() {}

    void buttonClicked (juce::Button*) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress&) override;
    void focusGained (FocusChangeType) override;

protected:
    // doneButton comes first so that nextButton, in the same place, lies in front of it.
    juce::TextButton doneButton;
    juce::TextButton nextButton;
    juce::TextButton backButton;
    juce::Component pageHolder;
    juce::Label captionLabel;
    juce::Label descriptionLabel;
    juce::TextButton startOverButton;

private:
    juce::TextButton* buttonFor (int bit);
    void setUpButton (juce::TextButton&, const juce::String& text);
    void setUpHeaderLabel (juce::Label&, const juce::String& text, float fontHeight, juce::Justification);
    void copyHeaderFrom (const WizardPage&);
    void focusFirstControlOf (WizardPage&);

    WizardKeys keys { [this] { pressDefaultButton(); } };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WizardComponent)
};
