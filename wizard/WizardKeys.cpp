#include "wizard/WizardKeys.h"

WizardKeys::WizardKeys (std::function<void()> pressDefaultButtonFunction)
    : pressDefaultButton (std::move (pressDefaultButtonFunction))
{
}

template <typename Fn>
void WizardKeys::forEachControl (juce::Component& component, Fn&& fn)
{
    if (dynamic_cast<juce::Button*> (&component) != nullptr || dynamic_cast<juce::ComboBox*> (&component) != nullptr)
    {
        fn (component);
        return;
    }

    for (auto* child : component.getChildren())
        forEachControl (*child, fn);
}

void WizardKeys::listenTo (juce::Component& component)
{
    forEachControl (component, [this] (juce::Component& control) { control.addKeyListener (this); });
}

void WizardKeys::stopListeningTo (juce::Component& component)
{
    forEachControl (component, [this] (juce::Component& control) { control.removeKeyListener (this); });
}

bool WizardKeys::keyPressed (const juce::KeyPress& key, juce::Component* origin)
{
    auto* list = dynamic_cast<juce::ComboBox*> (origin);
    auto* button = dynamic_cast<juce::Button*> (origin);

    if (key == juce::KeyPress::spaceKey)
    {
        if (list != nullptr)
            list->showPopup();
        else if (button != nullptr)
            button->triggerClick();

        return list != nullptr || button != nullptr;
    }

    if (key == juce::KeyPress::returnKey && (list != nullptr || dynamic_cast<juce::ToggleButton*> (origin) != nullptr))
    {
        // Used even when the default button is disabled: Return must not tick the box
        // instead.
        pressDefaultButton();
        return true;
    }

    return false;
}
