#pragma once

#include "app/UpdaterApplication.h"
#include "demo/Autopilot.h"
#include "demo/DemoOptions.h"
#include "demo/DemoStage.h"
#include "demo/ExitWatchdog.h"
#include "demo/QuitWaker.h"
#include "demo/SnapshotTour.h"

/** The program on an embedded world: the same application and wizard, wired to
    simulated devices on in-process MIDI ports and to a loopback update server. With
    --autopilot it runs one update by itself and exits with its verdict; with
    --snapshots DIR it photographs every page and exits.
*/
class DemoApplication : public UpdaterApplication,
                        private Autopilot::Listener
{
public:
    DemoApplication();
    ~DemoApplication() override;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;

protected:
    std::unique_ptr<juce::Component> createWizard() override;

private:
    void startAutopilot();
    void startSnapshots();
    void headerShown (const juce::String& caption, const juce::String& description) override;
    void finished (const AutopilotReport& report) override;
    static void print (const juce::String& line);

    /** Beyond the autopilot's own time-out, the time allowed for the window to close. */
    static constexpr int closingTimeMs = 30000;

    DemoOptions options;
    QuitWaker quitWaker;
    DemoStage* stage = nullptr;   // the window's content, owned by the window
    std::unique_ptr<ExitWatchdog> watchdog;
    std::unique_ptr<Autopilot> autopilot;
    std::unique_ptr<SnapshotTour> tour;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DemoApplication)
};
