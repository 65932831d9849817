#include "tests/wizard/WizardDriver.h"

#include <gtest/gtest.h>

namespace
{
    /** Polls a condition on the message thread and clicks a button once it holds. */
    class ClickWhen : public juce::Timer
    {
    public:
        ClickWhen (std::function<bool()> conditionToWaitFor, std::function<juce::Button*()> buttonToClick)
            : condition (std::move (conditionToWaitFor)), button (std::move (buttonToClick))
        {
            startTimer (5);
        }

        void timerCallback() override
        {
            if (! condition())
                return;

            stopTimer();

            if (auto* b = button())
                b->triggerClick();
        }

    private:
        std::function<bool()> condition;
        std::function<juce::Button*()> button;
    };
}

WizardDriver::WizardDriver (UpdateWizard& wizardToDrive)
    : wizard (wizardToDrive)
{
}

void WizardDriver::settle()
{
    for (int i = 0; i < 3; ++i)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

juce::Button* WizardDriver::findButton (juce::Component& parent, const juce::String& text) const
{
    for (auto* child : parent.getChildren())
    {
        if (auto* button = dynamic_cast<juce::Button*> (child); button != nullptr && button->getButtonText() == text)
            return button;

        if (auto* found = findButton (*child, text))
            return found;
    }

    return nullptr;
}

juce::Button& WizardDriver::frameButton (const juce::String& text) const
{
    for (auto* child : wizard.getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child); button != nullptr && button->getButtonText() == text)
            return *button;

    throw std::logic_error (("no frame button " + text).toStdString());
}

void WizardDriver::click (const juce::String& buttonText)
{
    frameButton (buttonText).triggerClick();
    settle();
}

bool WizardDriver::isVisible (const juce::String& buttonText) const
{
    return frameButton (buttonText).isVisible();
}

bool WizardDriver::isEnabled (const juce::String& buttonText) const
{
    return frameButton (buttonText).isEnabled();
}

juce::String WizardDriver::caption() const
{
    return wizard.currentPage() != nullptr ? wizard.currentPage()->caption : juce::String();
}

juce::String WizardDriver::description() const
{
    return wizard.currentPage() != nullptr ? wizard.currentPage()->description : juce::String();
}

template <typename ComponentType>
ComponentType* WizardDriver::findOnPage() const
{
    if (auto* page = wizard.currentPage())
        for (auto* child : page->getChildren())
            if (auto* found = dynamic_cast<ComponentType*> (child))
                return found;

    return nullptr;
}

juce::String WizardDriver::labelText() const
{
    auto* label = findOnPage<juce::Label>();
    return label != nullptr ? label->getText() : juce::String();
}

juce::String WizardDriver::pageText() const
{
    auto* editor = findOnPage<juce::TextEditor>();
    return editor != nullptr ? editor->getText() : juce::String();
}

void WizardDriver::choose (int index)
{
    auto* combo = findOnPage<juce::ComboBox>();
    ASSERT_NE (combo, nullptr);
    combo->setSelectedItemIndex (index, juce::sendNotificationSync);
    settle();
}

void WizardDriver::toggle (const juce::String& buttonText)
{
    auto* page = wizard.currentPage();
    ASSERT_NE (page, nullptr);
    auto* button = findButton (*page, buttonText);
    ASSERT_NE (button, nullptr);
    button->triggerClick();
    settle();
}

juce::StringArray WizardDriver::listedItems() const
{
    juce::StringArray items;

    if (auto* combo = findOnPage<juce::ComboBox>())
        for (int i = 0; i < combo->getNumItems(); ++i)
            items.add (combo->getItemText (i));

    return items;
}

void WizardDriver::cancelWhen (std::function<bool()> condition)
{
    pendingCancel = std::make_unique<ClickWhen> (std::move (condition), [this]
    {
        auto* page = wizard.currentPage();
        return page != nullptr ? findButton (*page, "Cancel") : nullptr;
    });
}

void WizardDriver::updateToTheNewestVersion()
{
    for (int step = 0; step < 4; ++step)
        click ("Next >");

    ASSERT_EQ (caption(), "Confirm");
    toggle ("Yes, I realize my settings may be lost. I want to proceed.");
    click ("Next >");
}
