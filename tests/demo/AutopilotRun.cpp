#include "tests/demo/AutopilotRun.h"

#include "tests/support/MessageLoop.h"

AutopilotRun::AutopilotRun (const DemoSetup& setup, AutopilotRoute routeToTake, int timeout)
    : route (routeToTake),
      timeoutMs (timeout)
{
    auto& wizard = stage.load (setup, [this] { ++quitRequests; });
    Autopilot::Listener& listener = *this;
    autopilot = std::make_unique<Autopilot> (wizard, *stage.getWorld(), route, listener, timeoutMs);
}

AutopilotRun::~AutopilotRun()
{
    autopilot.reset();
}

bool AutopilotRun::runToEnd()
{
    // "Done" is pressed only on the results page, and is handled after the report.
    MessageLoop::dispatchUntil ([this]
    {
        return report.has_value() && (! route.pressDone || report->outcome.isEmpty() || quitRequests > 0);
    }, timeoutMs + 10000);

    return report.has_value();
}

void AutopilotRun::headerShown (const juce::String& caption, const juce::String& description)
{
    headers.add (caption + " - " + description);
}

void AutopilotRun::pageReady (WizardPage& page)
{
    readyPages.push_back (PageKind::of (page));
}

void AutopilotRun::finished (const AutopilotReport& finalReport)
{
    report = finalReport;
}
