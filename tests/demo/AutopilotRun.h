#pragma once

#include "demo/Autopilot.h"
#include "demo/DemoStage.h"
#include "demo/PageKind.h"

#include <optional>

/** One autopilot run inside the test process, on a fresh world and wizard, with
    everything the autopilot told and how often "Done" asked the program to end.
*/
class AutopilotRun : private Autopilot::Listener
{
public:
    explicit AutopilotRun (const DemoSetup& setup, AutopilotRoute route = {},
                           int timeoutMs = Autopilot::defaultTimeoutMs);
    ~AutopilotRun() override;

    /** Runs the message loop until the autopilot has finished and any press of "Done"
        has been handled, for no longer than the autopilot's own time-out and a
        margin. False when the autopilot never finished.
    */
    bool runToEnd();

    DemoStage stage;
    juce::StringArray headers;                  // "caption - description", in order
    std::vector<PageKind::Kind> readyPages;     // in order
    std::optional<AutopilotReport> report;
    int quitRequests = 0;

private:
    void headerShown (const juce::String& caption, const juce::String& description) override;
    void pageReady (WizardPage& page) override;
    void finished (const AutopilotReport& finalReport) override;

    const AutopilotRoute route;
    const int timeoutMs;
    std::unique_ptr<Autopilot> autopilot;
};
