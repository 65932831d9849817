#include "wizard/pages/ReleaseNotesLink.h"

#include "catalogue/WebAddress.h"

ReleaseNotesLink::ReleaseNotesLink()
    : juce::HyperlinkButton ("View release notes", juce::URL())
{
    onClick = [this] { browser.open (address); };
    browser.onFailure = [this] (const juce::String& addressNotOpened) { showCannotOpen (addressNotOpened); };
}

void ReleaseNotesLink::showAddress (const juce::String& addressToShow)
{
    address = WebAddress::isAllowed (addressToShow) ? addressToShow : juce::String();
    setVisible (address.isNotEmpty());
}

void ReleaseNotesLink::showCannotOpen (const juce::String& addressNotOpened)
{
    cannotOpenBox = std::make_unique<juce::AlertWindow> ("Release Notes",
                                                         "No web browser could be started.\nThe release notes are at this address:",
                                                         juce::MessageBoxIconType::WarningIcon, this);

    // A field rather than the message, so that the address can be selected and copied.
    const juce::String field ("address");
    cannotOpenBox->addTextEditor (field, addressNotOpened);
    cannotOpenBox->getTextEditor (field)->setReadOnly (true);
    cannotOpenBox->getTextEditor (field)->moveCaretToTop (false);
    cannotOpenBox->addButton ("OK", 0, juce::KeyPress (juce::KeyPress::returnKey), juce::KeyPress (juce::KeyPress::escapeKey));

    // Only the box this callback belongs to is let go: a later failure may have replaced it.
    auto* shown = cannotOpenBox.get();
    auto dismissed = [link = SafePointer<ReleaseNotesLink> (this), shown] (int)
    {
        if (link != nullptr && link->cannotOpenBox.get() == shown)
            link->cannotOpenBox.reset();
    };

    cannotOpenBox->enterModalState (true, juce::ModalCallbackFunction::create (dismissed), false);
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
