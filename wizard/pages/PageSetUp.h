#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The set-up that the wizard's pages share for their labels, lists, buttons and
    text boxes, so that every page looks and behaves the same. Message thread only.
*/
namespace PageSetUp
{
    /** How much of the text editor's own behaviour a message box keeps. */
    enum class MessageBoxKind
    {
        fixedText,      ///< no scroll bars, caret or pop-up menu
        browsableText   ///< scroll bars, caret and the copy pop-up menu, still read-only
    };

    /** Fills a page's whole area with the pages' dark grey. */
    void fillBackground (juce::Graphics&);

    /** Adds label to page with text: 15-point plain, centred-left, never edited. Its
        in-place editor (never opened) is given black text on a transparent background.
    */
    void addLabel (juce::Component& page, juce::Label& label, const juce::String& text);

    /** Adds label to page with text: 15-point bold, centred-left, never edited, with
        every colour left to the look and feel.
    */
    void addBoldLabel (juce::Component& page, juce::Label& label, const juce::String& text);

    /** Adds comboBox to page as a drop-down list of fixed choices, with listener
        told of every change of selection, and the chosen text, whole, as its tooltip.
    */
    void addChoiceList (juce::Component& page, juce::ComboBox& comboBox, juce::ComboBox::Listener& listener);

    /** Adds button to page as its "Cancel" button, with listener told of its clicks. */
    void addCancelButton (juce::Component& page, juce::TextButton& button, juce::Button::Listener& listener);

    /** For a page's keyPressed: Escape presses its Cancel button. */
    bool pressCancelOnEscape (const juce::KeyPress& key, juce::Button& cancelButton);

    /** Adds bar to page, hidden until the page shows it. */
    void addProgressBar (juce::Component& page, juce::ProgressBar& bar);

    /** Adds box to page as a multi-line, word-wrapped, read-only block of text. Only
        browsable text takes the keyboard focus: fixed text offers nothing to do with it.
    */
    void addMessageBox (juce::Component& page, juce::TextEditor& box, MessageBoxKind kind);
}
