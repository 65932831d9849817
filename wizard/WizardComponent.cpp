#include "wizard/WizardComponent.h"

WizardComponent::WizardComponent()
{
    setUpButton (doneButton, "Done");
    setUpButton (nextButton, "Next >");
    setUpButton (backButton, "< Back");

    addAndMakeVisible (pageHolder);
    pageHolder.setMouseCursor (juce::MouseCursor::ParentCursor);

    setUpHeaderLabel (captionLabel, "Caption", 27.3f, juce::Justification::centredLeft);
    setUpHeaderLabel (descriptionLabel, "Description", 15.0f, juce::Justification::topLeft);

    setUpButton (startOverButton, "<< Start Over");
    startOverButton.setVisible (false);

    // Without explicit focus orders Tab goes in reading order: the page's controls lie
    // above the buttons, and the buttons run from left to right. Tab stays inside the
    // wizard; the focus given to the wizard itself goes on to the page.
    doneButton.setWantsKeyboardFocus (false); // behind the shown Next
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);
    setWantsKeyboardFocus (true);

    setSize (400, 300);
}

WizardComponent::~WizardComponent()
{
    if (auto* page = currentPage())
    {
        page->removeChangeListener (this);
        keys.stopListeningTo (*page);
    }

    pageHolder.removeAllChildren();
}

void WizardComponent::setUpButton (juce::TextButton& button, const juce::String& text)
{
    button.setButtonText (text);
    button.addListener (this);
    button.setMouseCursor (juce::MouseCursor::ParentCursor);
    keys.listenTo (button);
    addAndMakeVisible (button);
}

void WizardComponent::setUpHeaderLabel (juce::Label& label, const juce::String& text,
                                        float fontHeight, juce::Justification justification)
{
    label.setText (text, juce::dontSendNotification);
    label.setFont (juce::Font (fontHeight, juce::Font::plain));
    label.setJustificationType (justification);
    label.setEditable (false, false, false);
    label.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    label.setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    label.setMouseCursor (juce::MouseCursor::ParentCursor);
    addAndMakeVisible (label);
}

juce::TextButton* WizardComponent::buttonFor (int bit)
{
    switch (bit)
    {
        case NextButton:      return &nextButton;
        case BackButton:      return &backButton;
        case DoneButton:      return &doneButton;
        case StartOverButton: return &startOverButton;
        default:              return nullptr;
    }
}

void WizardComponent::setButtonsEnabled (bool enabled, int mask)
{
    for (auto bit : { NextButton, BackButton, DoneButton, StartOverButton })
        if ((mask & bit) != 0)
            buttonFor (bit)->setEnabled (enabled);
}

void WizardComponent::setButtonsVisible (int mask, bool visible)
{
    for (auto bit : { NextButton, BackButton, DoneButton, StartOverButton })
        if ((mask & bit) != 0)
            buttonFor (bit)->setVisible (visible);

    // Done lies behind Next: while Next is shown, Tab must not stop on the hidden Done.
    doneButton.setWantsKeyboardFocus (! nextButton.isVisible());
}

void WizardComponent::showPage (WizardPage* page)
{
    auto* previous = currentPage();

    page->setBounds (0, 0, pageHolder.getWidth(), pageHolder.getHeight());
    pageHolder.removeAllChildren();
    pageHolder.addAndMakeVisible (page);
    page->addChangeListener (this);
    copyHeaderFrom (*page);
    page->setVisible (true);

    if (previous != nullptr && previous != page)
        keys.stopListeningTo (*previous);

    keys.listenTo (*page);

    if (previous != nullptr)
    {
        previous->removeChangeListener (this);
        previous->setVisible (false);
    }

    focusFirstControlOf (*page);
}

void WizardComponent::focusFirstControlOf (WizardPage& page)
{
    // Only a wizard in a window can take the keyboard focus.
    if (! page.isShowing())
        return;

    juce::KeyboardFocusTraverser traverser;

    if (auto* first = traverser.getDefaultComponent (&page))
        first->grabKeyboardFocus();
    else if (auto& defaultButton = nextButton.isVisible() ? nextButton : doneButton; defaultButton.isEnabled())
        defaultButton.grabKeyboardFocus();
}

void WizardComponent::focusGained (FocusChangeType)
{
    if (auto* page = currentPage())
        focusFirstControlOf (*page);
}

void WizardComponent::setWaiting (bool isWaiting)
{
    setMouseCursor (isWaiting ? juce::MouseCursor::WaitCursor : juce::MouseCursor::NormalCursor);
}

bool WizardComponent::pressDefaultButton()
{
    auto& defaultButton = nextButton.isVisible() ? nextButton : doneButton;

    if (! defaultButton.isVisible() || ! defaultButton.isEnabled()
        || defaultButton.isCurrentlyBlockedByAnotherModalComponent())
        return false;

    defaultButton.triggerClick();
    return true;
}

bool WizardComponent::keyPressed (const juce::KeyPress& key)
{
    return key == juce::KeyPress::returnKey && pressDefaultButton();
}

WizardPage* WizardComponent::currentPage() const
{
    return dynamic_cast<WizardPage*> (pageHolder.getChildComponent (0));
}

void WizardComponent::copyHeaderFrom (const WizardPage& page)
{
    captionLabel.setText (page.caption, juce::dontSendNotification);
    descriptionLabel.setText (page.description, juce::dontSendNotification);
}

void WizardComponent::buttonClicked (juce::Button* button)
{
    if (button == &doneButton)
        doneClicked();
    else if (button == &nextButton)
        nextClicked();
    else if (button == &backButton)
        backClicked();
    else if (button == &startOverButton)
        startOverClicked();
}

void WizardComponent::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    auto* page = currentPage();

    if (page != nullptr && source == page)
        copyHeaderFrom (*page);
}

void WizardComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff6d6d6d));
}

void WizardComponent::resized()
{
    const int w = getWidth();
    const int h = getHeight();

    doneButton.setBounds (w - 107, h - 30, 88, 24);
    nextButton.setBounds (w - 107, h - 30, 88, 24);
    backButton.setBounds (w - 211, h - 30, 88, 24);
    pageHolder.setBounds (0, 62, w, h - 100);
    captionLabel.setBounds (16, 4, w - 19, 32);
    descriptionLabel.setBounds (16, 36, w - 19, 20);
    startOverButton.setBounds (w - 384, h - 30, 104, 24);
}
