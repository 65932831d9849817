#include "tests/support/WizardDriver.h"

#include "tests/support/ComponentFinder.h"
#include "tests/support/MessageLoop.h"
#include "tests/support/UserTexts.h"

WizardDriver::WizardDriver (UpdateWizard& wizardToDrive)
    : wizard (wizardToDrive)
{
}

juce::Button& WizardDriver::frameButton (const juce::String& text) const
{
    if (auto* button = ComponentFinder::findButton (wizard, text, ComponentFinder::Depth::childrenOnly))
        return *button;

    throw std::logic_error (("no frame button " + text).toStdString());
}

void WizardDriver::click (const juce::String& buttonText)
{
    frameButton (buttonText).triggerClick();
    MessageLoop::dispatchPending();
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
    auto* page = wizard.currentPage();
    return page != nullptr ? ComponentFinder::findChild<ComponentType> (*page) : nullptr;
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

::testing::AssertionResult WizardDriver::choose (int index)
{
    auto* combo = findOnPage<juce::ComboBox>();

    if (combo == nullptr)
        return ::testing::AssertionFailure() << "no list to choose from on the page \"" << caption() << "\"";

    combo->setSelectedItemIndex (index, juce::sendNotificationSync);
    MessageLoop::dispatchPending();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WizardDriver::toggle (const juce::String& buttonText)
{
    auto* page = wizard.currentPage();
    auto* button = page != nullptr ? ComponentFinder::findButton (*page, buttonText) : nullptr;

    if (button == nullptr)
        return ::testing::AssertionFailure() << "no button \"" << buttonText << "\" on the page \"" << caption() << "\"";

    button->triggerClick();
    MessageLoop::dispatchPending();
    return ::testing::AssertionSuccess();
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
    pendingCancel = std::make_unique<PollingTrigger> (std::move (condition), [this]
    {
        if (auto* page = wizard.currentPage())
            if (auto* cancel = ComponentFinder::findButton (*page, UserTexts::cancel))
                cancel->triggerClick();
    });
}

::testing::AssertionResult WizardDriver::walkToConfirmPage()
{
    for (const auto* expected : { UserTexts::foundDevices, UserTexts::versionFiltering,
                                  UserTexts::updatesAvailable, UserTexts::confirm })
    {
        click (UserTexts::next);

        if (caption() != expected)
            return ::testing::AssertionFailure() << "the page \"" << caption() << "\" came instead of \"" << expected << "\"";
    }

    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WizardDriver::confirmAndUpdate()
{
    auto ticked = toggle (UserTexts::confirmation);

    if (ticked)
        click (UserTexts::next);

    return ticked;
}

::testing::AssertionResult WizardDriver::updateToTheNewestVersion()
{
    auto walked = walkToConfirmPage();
    return walked ? confirmAndUpdate() : walked;
}

::testing::AssertionResult WizardDriver::walkTo (const juce::String& wantedCaption)
{
    for (int step = 0; step < 8 && caption() != wantedCaption; ++step)
    {
        if (caption() == UserTexts::confirm)
            if (auto ticked = toggle (UserTexts::confirmation); ! ticked)
                return ticked;

        click (UserTexts::next);
    }

    if (caption() != wantedCaption)
        return ::testing::AssertionFailure() << "the walk ended on \"" << caption() << "\", not \"" << wantedCaption << "\"";

    return ::testing::AssertionSuccess();
}
