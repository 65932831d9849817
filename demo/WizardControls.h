#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Finds the controls of the wizard the way a user does: by what they show. Only
    what is on screen counts: the frame's visible buttons and the current page's own
    controls (other pages are not inside the frame while they are hidden).
    Message thread.
*/
struct WizardControls
{
    /** The first visible button under root whose text is text, or nullptr. */
    static juce::Button* findButton (juce::Component& root, const juce::String& text);

    /** The first combo box under root, or nullptr. */
    static juce::ComboBox* findComboBox (juce::Component& root);

    /** The text of the first label under root; empty when there is none. */
    static juce::String firstLabelText (juce::Component& root);

    /** Clicks the visible button under root whose text is text, through the message
        loop as a click of the mouse would; false when there is no such button or it is
        disabled.
    */
    static bool click (juce::Component& root, const juce::String& text);

private:
    static juce::Component* find (juce::Component& root, const std::function<bool (juce::Component&)>& wanted);
};
