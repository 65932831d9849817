#pragma once

#include <functional>
#include <juce_gui_basics/juce_gui_basics.h>

/** The keys of a wizard's controls where JUCE's own handling does not suit a wizard.

    Return on a tick box, a radio button or a list presses the page's default button:
    JUCE's controls would tick the box or open the list, so that from those controls
    the user could never go on with Return. Space presses the focused button or opens
    the focused list, as on the rest of the desktop; JUCE's controls ignore it.
    Return on a push button or a link still presses that one (JUCE's own handling).
    Message thread only.
*/
class WizardKeys : public juce::KeyListener
{
public:
    /** pressDefaultButton presses the page's default button if it can be pressed now. */
    explicit WizardKeys (std::function<void()> pressDefaultButton);

    /** Hears the keys of every button and list inside component, itself included. */
    void listenTo (juce::Component& component);

    /** Stops hearing them, for a component that may outlive this. */
    void stopListeningTo (juce::Component& component);

    bool keyPressed (const juce::KeyPress& key, juce::Component* originatingComponent) override;

private:
    template <typename Fn>
    static void forEachControl (juce::Component& component, Fn&& fn);

    const std::function<void()> pressDefaultButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WizardKeys)
};
