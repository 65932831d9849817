#include "demo/WizardControls.h"

juce::Component* WizardControls::find (juce::Component& root, const std::function<bool (juce::Component&)>& wanted)
{
    for (auto* child : root.getChildren())
    {
        if (! child->isVisible())
            continue;

        if (wanted (*child))
            return child;

        if (auto* found = find (*child, wanted))
            return found;
    }

    return nullptr;
}

juce::Button* WizardControls::findButton (juce::Component& root, const juce::String& text)
{
    return dynamic_cast<juce::Button*> (find (root, [&text] (juce::Component& c)
    {
        auto* button = dynamic_cast<juce::Button*> (&c);
        return button != nullptr && button->getButtonText() == text;
    }));
}

juce::ComboBox* WizardControls::findComboBox (juce::Component& root)
{
    return dynamic_cast<juce::ComboBox*> (find (root, [] (juce::Component& c)
                                                { return dynamic_cast<juce::ComboBox*> (&c) != nullptr; }));
}

juce::String WizardControls::firstLabelText (juce::Component& root)
{
    auto* label = dynamic_cast<juce::Label*> (find (root, [] (juce::Component& c)
                                                    { return dynamic_cast<juce::Label*> (&c) != nullptr; }));
    return label != nullptr ? label->getText() : juce::String();
}

bool WizardControls::click (juce::Component& root, const juce::String& text)
{
    auto* button = findButton (root, text);

    if (button == nullptr || ! button->isEnabled())
        return false;

    button->triggerClick();
    return true;
}
