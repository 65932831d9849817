#include "demo/Autopilot.h"

#include "demo/PageKind.h"
#include "demo/WizardControls.h"

namespace
{
    const char* const nextText = "Next >";
    const char* const latestOnlyText = "Only show the latest version newer than mine (recommended)";
    const char* const acknowledgeText = "Yes, I realize my settings may be lost. I want to proceed.";
}

Autopilot::Autopilot (UpdateWizard& wizardToDrive, const DemoWorld& worldAround, AutopilotRoute routeToTake,
                      Listener& listenerToTell, int timeout)
    : wizard (wizardToDrive),
      world (worldAround),
      route (routeToTake),
      listener (listenerToTell),
      timeoutMs (timeout),
      deadline (juce::Time::getMillisecondCounterHiRes() + timeout),
      headerLog (wizard, [this] (const juce::String& caption, const juce::String& description)
                 { listener.headerShown (caption, description); })
{
    startTimer (tickMs);
}

Autopilot::~Autopilot()
{
    stopTimer();
}

void Autopilot::timerCallback()
{
    if (done)
        return;

    auto* page = wizard.currentPage();

    if (juce::Time::getMillisecondCounterHiRes() >= deadline)
    {
        giveUp ("no outcome after " + juce::String (timeoutMs / 1000) + " s, on the page \"" + page->caption + "\"");
        return;
    }

    if (page != visiting)
    {
        visiting = page;
        visit = {};
    }

    drive (*page);
}

void Autopilot::drive (WizardPage& page)
{
    switch (PageKind::of (page))
    {
        case PageKind::selectDevice:  chooseDevice (page); break;
        case PageKind::versionFilter: choose (page, latestOnlyText); break;
        case PageKind::selectUpdate:  chooseRevision (page); break;
        case PageKind::confirm:       choose (page, acknowledgeText); break;
        case PageKind::scan:          watchTask (page, "Identifying devices..."); break;
        case PageKind::download:      watchDownload (page); break;
        case PageKind::programming:   watchTask (page, "Writing at address"); break;
        case PageKind::results:       finish (page); break;
        case PageKind::welcome:
        case PageKind::instructions:
        case PageKind::unknown:       moveOn (page); break;
    }
}

void Autopilot::moveOn (WizardPage& page)
{
    auto* next = WizardControls::findButton (wizard, nextText);

    if (next == nullptr || ! next->isEnabled())
        return;

    // On screen, a clicked button flashes down until it has been repainted, and the same
    // "Next >" serves every page: the page is ready once it has settled. Off screen
    // nothing is repainted, and nothing is shown either. Where the window opens under
    // the pointer, "Next >" may rest in its hover state, which is settled too.
    if (wizard.isShowing() && next->getState() == juce::Button::buttonDown)
        return;

    ready (page);
    clickOnce (wizard, nextText);
}

void Autopilot::chooseDevice (WizardPage& page)
{
    const int index = findDeviceOnRoute();
    auto* list = WizardControls::findComboBox (page);

    if (index < 0 || list == nullptr)
    {
        giveUp (list == nullptr ? "no list of devices on the page \"" + page.caption + "\""
                                : juce::String ("none of the devices found suits the route"));
        return;
    }

    chosenDevice = (*wizard.getDevices())[index];

    // The choice is made at once; the page hears of it through the message loop, and
    // "Next >" is enabled once the controller has.
    if (list->getSelectedItemIndex() != index)
        list->setSelectedItemIndex (index, juce::sendNotificationAsync);
    else
        moveOn (page);
}

void Autopilot::choose (WizardPage& page, const juce::String& toggleText)
{
    auto* toggle = WizardControls::findButton (page, toggleText);

    if (toggle == nullptr)
        giveUp ("no \"" + toggleText + "\" on the page \"" + page.caption + "\"");
    else if (! toggle->getToggleState())
        clickOnce (page, toggleText);
    else
        moveOn (page);
}

void Autopilot::chooseRevision (WizardPage& page)
{
    auto* list = WizardControls::findComboBox (page);

    if (list != nullptr && list->getNumItems() > 0 && list->getSelectedItemIndex() < 0)
        list->setSelectedItemIndex (0, juce::sendNotificationAsync);

    moveOn (page);
}

void Autopilot::watchTask (WizardPage& page, const juce::String& progressText)
{
    if (WizardControls::firstLabelText (page).startsWith (progressText))
        ready (page);
}

void Autopilot::watchDownload (WizardPage& page)
{
    if (! WizardControls::firstLabelText (page).startsWith ("Downloaded"))
        return;

    ready (page);

    if (route.cancelDownload)
        clickOnce (page, "Cancel");
}

void Autopilot::finish (WizardPage& results)
{
    ready (results);
    done = true;
    stopTimer();

    AutopilotReport report;
    report.outcome = results.caption;

    if (const auto* revision = chosenDevice != nullptr ? chosenDevice->findNewestUpdate() : nullptr)
        report.flashMatches = world.flashHoldsImage (*chosenDevice, *revision);

    if (route.pressDone && ! WizardControls::click (wizard, "Done"))
        report.problem = "\"Done\" could not be pressed";

    listener.finished (report);
}

void Autopilot::giveUp (const juce::String& problem)
{
    done = true;
    stopTimer();

    AutopilotReport report;
    report.problem = problem;
    listener.finished (report);
}

void Autopilot::ready (WizardPage& page)
{
    if (visit.ready)
        return;

    visit.ready = true;
    listener.pageReady (page);
}

// A click reaches its button through the message loop, later than this tick; the
// page may still be shown at the next tick, and must not be clicked twice.
void Autopilot::clickOnce (juce::Component& root, const juce::String& buttonText)
{
    if (! visit.clicked.contains (buttonText) && WizardControls::click (root, buttonText))
        visit.clicked.add (buttonText);
}

int Autopilot::findDeviceOnRoute() const
{
    if (const auto* devices = wizard.getDevices())
        for (int i = 0; i < devices->size(); ++i)
            if (isOnRoute (*(*devices)[i]))
                return i;

    return -1;
}

bool Autopilot::isOnRoute (const TargetDevice& device) const
{
    const bool hasUpdate = device.findNewestUpdate() != nullptr;

    switch (route.device)
    {
        case AutopilotRoute::Device::firstWithUpdate:       return hasUpdate;
        case AutopilotRoute::Device::firstWithInstructions: return hasUpdate && device.product.specialPreInstructions.isNotEmpty();
        case AutopilotRoute::Device::firstUpToDate:         return ! hasUpdate;
    }

    return false;
}
