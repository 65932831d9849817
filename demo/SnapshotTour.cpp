#include "demo/SnapshotTour.h"

#include <algorithm>

namespace
{
    juce::String slugOf (const juce::String& caption)
    {
        return caption.toLowerCase()
            .retainCharacters ("abcdefghijklmnopqrstuvwxyz0123456789 ")
            .trim()
            .replaceCharacter (' ', '-');
    }
}

SnapshotTour::SnapshotTour (DemoStage& stageToUse, const juce::File& folderToFill, std::vector<SnapshotScene> scenesToRun,
                            Print printLine, std::function<void (bool)> onTourFinished)
    : stage (stageToUse),
      folder (folderToFill),
      scenes (std::move (scenesToRun)),
      print (std::move (printLine)),
      onFinished (std::move (onTourFinished))
{
    if (! folder.createDirectory())
        problems.add ("Could not create the folder " + folder.getFullPathName());

    triggerAsyncUpdate();
}

SnapshotTour::~SnapshotTour()
{
    cancelPendingUpdate();
    stopTimer();
}

juce::String SnapshotTour::fileNameFor (WizardPage& page, const juce::String& variant)
{
    const auto kind = PageKind::of (page);
    auto name = juce::String (static_cast<int> (kind) + 1).paddedLeft ('0', 2) + "-" + PageKind::nameOf (kind);

    if (kind == PageKind::results)
        name << "-" << slugOf (page.caption) << (variant.isNotEmpty() ? "-" + variant : juce::String());

    return name + ".png";
}

// Scenes start from the message loop, never from inside the autopilot that ends one.
void SnapshotTour::handleAsyncUpdate()
{
    stopTimer();
    waitingPage = nullptr;
    autopilot.reset();

    if (nextScene < scenes.size())
    {
        startScene (scenes[nextScene++]);
        return;
    }

    for (const auto& problem : problems)
        print (problem);

    onFinished (problems.isEmpty());
}

void SnapshotTour::startScene (const SnapshotScene& scene)
{
    wanted = scene.pages;
    wanted.push_back (PageKind::results);

    auto& wizard = stage.load (scene.setup, [] {});
    Autopilot::Listener& listener = *this;
    autopilot = std::make_unique<Autopilot> (wizard, *stage.getWorld(), scene.route, listener);
}

void SnapshotTour::pageReady (WizardPage& page)
{
    const auto kind = PageKind::of (page);

    if (std::find (wanted.begin(), wanted.end(), kind) == wanted.end())
        return;

    if (kind == PageKind::programming)
    {
        waitingPage = &page;
        startTimer (programmingDelayMs);
        return;
    }

    take (page);
}

void SnapshotTour::timerCallback()
{
    stopTimer();

    if (waitingPage != nullptr && stage.getWizard()->currentPage() == waitingPage)
        take (*waitingPage);

    waitingPage = nullptr;
}

void SnapshotTour::finished (const AutopilotReport& report)
{
    const auto& scene = scenes[nextScene - 1];
    const auto sceneName = "Scene " + juce::String (nextScene) + " (" + scene.outcome + ")";

    if (report.outcome != scene.outcome)
        problems.add (sceneName + " ended with \"" + report.outcome + "\""
                      + (report.problem.isNotEmpty() ? ": " + report.problem : juce::String()));

    for (const auto kind : wanted)
        problems.add (sceneName + ": no picture of the " + PageKind::nameOf (kind) + " page");

    triggerAsyncUpdate();
}

void SnapshotTour::take (WizardPage& page)
{
    const auto kind = PageKind::of (page);
    wanted.erase (std::remove (wanted.begin(), wanted.end(), kind), wanted.end());

    const auto file = folder.getChildFile (fileNameFor (page, scenes[nextScene - 1].variant));
    const auto picture = stage.createComponentSnapshot (stage.getLocalBounds());

    // A file stream appends to what is there.
    file.deleteFile();
    juce::FileOutputStream stream (file);

    if (stream.openedOk() && juce::PNGImageFormat().writeImageToStream (picture, stream))
        print ("Saved " + file.getFullPathName());
    else
        problems.add ("Could not write " + file.getFullPathName());
}
