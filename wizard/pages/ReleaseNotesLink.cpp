#include "wizard/pages/ReleaseNotesLink.h"

#include "catalogue/WebAddress.h"

ReleaseNotesLink::ReleaseNotesLink()
    : juce::HyperlinkButton ("View release notes", juce::URL())
{
    onClick = [this] { browser.open (address); };
}

void ReleaseNotesLink::showAddress (const juce::String& addressToShow)
{
    address = WebAddress::isAllowed (addressToShow) ? addressToShow : juce::String();
    setVisible (address.isNotEmpty());
}

void ReleaseNotesLink::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    juce::HyperlinkButton::paintButton (g, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);

    if (hasKeyboardFocus (false))
    {
        g.setColour (findColour (juce::TextEditor::focusedOutlineColourId));
        g.drawRect (getLocalBounds(), 2);
    }
}
