#pragma once

#include "demo/AutopilotReport.h"
#include "demo/AutopilotRoute.h"
#include "demo/DemoWorld.h"
#include "demo/HeaderLog.h"
#include "wizard/UpdateWizard.h"

/** Takes the wizard through one run as a user would: it presses the visible buttons,
    picks from the combo boxes and ticks the boxes, all through the message loop, and
    never calls the controller's steps itself. On the results page it checks whether
    the device it chose now holds the image.

    It looks at the wizard every tickMs, also while the wizard sits in the modal loop
    of a running task, and gives up after its time-out. Message thread; the wizard and
    the world must outlive it.
*/
class Autopilot : private juce::Timer
{
public:
    /** Called on the message thread. None of these may destroy the autopilot. */
    struct Listener
    {
        virtual ~Listener() = default;

        /** Each header the wizard shows, in order (see HeaderLog). */
        virtual void headerShown (const juce::String& /*caption*/, const juce::String& /*description*/) {}

        /** Once a visit: page is as the autopilot leaves it (its choices made, just
            before "Next >"), or, for a page with a running task, as soon as the task
            has shown progress; the results page as it is shown.
        */
        virtual void pageReady (WizardPage& /*page*/) {}

        /** Once, when the run has ended. */
        virtual void finished (const AutopilotReport& report) = 0;
    };

    Autopilot (UpdateWizard& wizard, const DemoWorld& world, AutopilotRoute route,
               Listener& listener, int timeoutMs = defaultTimeoutMs);
    ~Autopilot() override;

    static constexpr int defaultTimeoutMs = 60000;
    static constexpr int tickMs = 10;

private:
    void timerCallback() override;
    void drive (WizardPage& page);
    void moveOn (WizardPage& page);
    void chooseDevice (WizardPage& page);
    void choose (WizardPage& page, const juce::String& toggleText);
    void chooseRevision (WizardPage& page);
    void watchTask (WizardPage& page, const juce::String& progressText);
    void watchDownload (WizardPage& page);
    void finish (WizardPage& results);
    void giveUp (const juce::String& problem);
    void ready (WizardPage& page);
    void clickOnce (juce::Component& root, const juce::String& buttonText);
    int findDeviceOnRoute() const;
    bool isOnRoute (const TargetDevice& device) const;

    UpdateWizard& wizard;
    const DemoWorld& world;
    const AutopilotRoute route;
    Listener& listener;
    const int timeoutMs;
    const double deadline;     // on the high-resolution millisecond counter
    HeaderLog headerLog;

    // What has been done on the page shown now; begins afresh with every page.
    struct Visit
    {
        bool ready = false;
        juce::StringArray clicked;
    };

    WizardPage* visiting = nullptr;
    Visit visit;
    const TargetDevice* chosenDevice = nullptr;
    bool done = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Autopilot)
};
