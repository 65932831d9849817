#pragma once

#include "demo/Autopilot.h"
#include "demo/DemoStage.h"
#include "demo/SnapshotScene.h"

/** Photographs the demo window on every page: runs the autopilot through each scene
    in turn on the stage, a fresh world and wizard for each, and saves the window's
    content as a PNG file whenever the page it is on is one the scene wants.

    It starts from the message loop once made, and tells onFinished once every scene
    has run, with whether every picture was taken and every scene ended as it should.
    Message thread; the stage must outlive it.
*/
class SnapshotTour : private Autopilot::Listener,
                     private juce::AsyncUpdater,
                     private juce::Timer
{
public:
    using Print = std::function<void (const juce::String& line)>;

    SnapshotTour (DemoStage& stage, const juce::File& folder, std::vector<SnapshotScene> scenes,
                  Print print, std::function<void (bool complete)> onFinished);
    ~SnapshotTour() override;

    /** For example "01-welcome.png", or "10-results-update-succeeded.png" for a
        results page that shows "Update Succeeded"; a scene's variant follows the
        outcome ("10-results-update-failed-tampered-image.png").
    */
    static juce::String fileNameFor (WizardPage& page, const juce::String& variant = {});

    /** How long the programming page is shown before it is photographed, so that its
        bar has filled a little.
    */
    static constexpr int programmingDelayMs = 1000;

private:
    void pageReady (WizardPage& page) override;
    void finished (const AutopilotReport& report) override;
    void handleAsyncUpdate() override;
    void timerCallback() override;
    void startScene (const SnapshotScene& scene);
    void take (WizardPage& page);

    DemoStage& stage;
    const juce::File folder;
    const std::vector<SnapshotScene> scenes;
    const Print print;
    const std::function<void (bool)> onFinished;

    size_t nextScene = 0;
    std::unique_ptr<Autopilot> autopilot;
    std::vector<PageKind::Kind> wanted;      // the pages of this scene not yet photographed
    WizardPage* waitingPage = nullptr;        // photographed when the timer fires, if still shown
    juce::StringArray problems;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SnapshotTour)
};
