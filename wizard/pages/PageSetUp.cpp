#include "wizard/pages/PageSetUp.h"

namespace PageSetUp
{
    static void addNonEditableLabel (juce::Component& page, juce::Label& label,
                                     const juce::String& text, juce::Font::FontStyleFlags style)
    {
        page.addAndMakeVisible (label);
        label.setText (text, juce::dontSendNotification);
        label.setFont (juce::Font (15.0f, style));
        label.setJustificationType (juce::Justification::centredLeft);
        label.setEditable (false, false, false);
        label.setMouseCursor (juce::MouseCursor::ParentCursor);
    }

    void fillBackground (juce::Graphics& g)
    {
        g.fillAll (juce::Colour (0xff404040));
    }

    void addLabel (juce::Component& page, juce::Label& label, const juce::String& text)
    {
        addNonEditableLabel (page, label, text, juce::Font::plain);
        label.setColour (juce::TextEditor::textColourId, juce::Colours::black);
        label.setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));
    }

    void addBoldLabel (juce::Component& page, juce::Label& label, const juce::String& text)
    {
        addNonEditableLabel (page, label, text, juce::Font::bold);
    }

    void addChoiceList (juce::Component& page, juce::ComboBox& comboBox, juce::ComboBox::Listener& listener)
    {
        page.addAndMakeVisible (comboBox);
        comboBox.setEditableText (false);
        comboBox.setJustificationType (juce::Justification::centredLeft);
        comboBox.setTextWhenNothingSelected ("(select)");
        comboBox.setTextWhenNoChoicesAvailable ("(no choices)");
        comboBox.addListener (&listener);

        // The box may have to squeeze or cut a long choice; its tooltip shows it whole.
        comboBox.onChange = [&comboBox] { comboBox.setTooltip (comboBox.getText()); };
    }

    void addCancelButton (juce::Component& page, juce::TextButton& button, juce::Button::Listener& listener)
    {
        page.addAndMakeVisible (button);
        button.setButtonText ("Cancel");
        button.addListener (&listener);
    }

    bool pressCancelOnEscape (const juce::KeyPress& key, juce::Button& cancelButton)
    {
        if (key != juce::KeyPress::escapeKey || ! cancelButton.isEnabled())
            return false;

        cancelButton.triggerClick();
        return true;
    }

    void addProgressBar (juce::Component& page, juce::ProgressBar& bar)
    {
        page.addChildComponent (bar);
        bar.setMouseCursor (juce::MouseCursor::ParentCursor);
    }

    void addMessageBox (juce::Component& page, juce::TextEditor& box, MessageBoxKind kind)
    {
        const auto browsable = kind == MessageBoxKind::browsableText;

        page.addAndMakeVisible (box);
        box.setMultiLine (true, true);
        box.setReturnKeyStartsNewLine (false);
        box.setReadOnly (true);
        box.setScrollbarsShown (browsable);
        box.setCaretVisible (browsable);
        box.setPopupMenuEnabled (browsable);
        box.setWantsKeyboardFocus (browsable);
    }
}
