#include "demo/DemoApplication.h"

#include <iostream>

DemoApplication::DemoApplication() = default;
DemoApplication::~DemoApplication() = default;

void DemoApplication::initialise (const juce::String& commandLine)
{
    options = DemoOptions::parse (getCommandLineParameterArray(), juce::File::getCurrentWorkingDirectory());

    if (options.mode == DemoOptions::Mode::invalid)
    {
        std::cerr << DemoOptions::usage();
        setApplicationReturnValue (2);
        quitWaker.quit();
        return;
    }

    UpdaterApplication::initialise (commandLine);

    if (options.mode == DemoOptions::Mode::autopilot)
        startAutopilot();
    else if (options.mode == DemoOptions::Mode::snapshots)
        startSnapshots();
}

void DemoApplication::shutdown()
{
    autopilot.reset();
    tour.reset();
    UpdaterApplication::shutdown();
    watchdog.reset();
}

std::unique_ptr<juce::Component> DemoApplication::createWizard()
{
    auto content = std::make_unique<DemoStage>();
    auto setup = DemoSetup::standard (true);

    if (options.tamperedImage)
        setup.images = DemoSetup::Images::oneTampered;

    content->load (setup, [this] { quitWaker.quit(); });
    stage = content.get();
    return content;
}

void DemoApplication::startAutopilot()
{
    watchdog = std::make_unique<ExitWatchdog> (Autopilot::defaultTimeoutMs + closingTimeMs);
    Autopilot::Listener& listener = *this;
    autopilot = std::make_unique<Autopilot> (*stage->getWizard(), *stage->getWorld(), AutopilotRoute(), listener);
}

void DemoApplication::startSnapshots()
{
    auto scenes = SnapshotScene::tour();
    watchdog = std::make_unique<ExitWatchdog> ((int) scenes.size() * Autopilot::defaultTimeoutMs + closingTimeMs);
    tour = std::make_unique<SnapshotTour> (*stage, options.snapshotFolder, std::move (scenes), print,
                                           [this] (bool complete)
                                           {
                                               setApplicationReturnValue (complete ? 0 : 1);
                                               quitWaker.quit();
                                           });
}

void DemoApplication::headerShown (const juce::String& caption, const juce::String& description)
{
    print (caption + " - " + description);
}

void DemoApplication::finished (const AutopilotReport& report)
{
    if (report.outcome.isNotEmpty())
    {
        print ("Outcome: " + report.outcome);
        print (juce::String ("Device flash equals the image inside its regions: ") + (report.flashMatches ? "yes" : "no"));
    }

    if (report.problem.isNotEmpty())
        print ("Autopilot: " + report.problem);

    setApplicationReturnValue (report.succeeded() ? 0 : 1);

    // After an outcome the autopilot has pressed "Done", which quits by itself.
    if (report.problem.isNotEmpty())
        quitWaker.quit();
}

void DemoApplication::print (const juce::String& line)
{
    std::cout << line << std::endl;
}
