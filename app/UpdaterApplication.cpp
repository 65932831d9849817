#include "app/UpdaterApplication.h"

#include "catalogue/TargetsSources.h"
#include "device/ports/JuceMidiPortSystem.h"
#include "wizard/UpdateWizard.h"

UpdaterApplication::UpdaterApplication() = default;
UpdaterApplication::~UpdaterApplication() = default;

void UpdaterApplication::initialise (const juce::String&)
{
    lookAndFeel = std::make_unique<QuillonLookAndFeel>();
    juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel.get());
    mainWindow = std::make_unique<AppWindow> (createWizard());
    quitSignals = std::make_unique<QuitSignals> ([this] { mainWindow->closeButtonPressed(); });
}

void UpdaterApplication::shutdown()
{
    quitSignals.reset();
    mainWindow.reset();
    midiPorts.reset();
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    lookAndFeel.reset();
}

const juce::String UpdaterApplication::getApplicationName() { return "Quillon"; }
const juce::String UpdaterApplication::getApplicationVersion() { return QUILLON_VERSION; }
bool UpdaterApplication::moreThanOneInstanceAllowed() { return true; }
void UpdaterApplication::anotherInstanceStarted (const juce::String&) {}

std::unique_ptr<juce::Component> UpdaterApplication::createWizard()
{
    midiPorts = std::make_unique<JuceMidiPortSystem>();

    return std::make_unique<UpdateWizard> (UpdateEnvironment {
        *midiPorts,
        ReplyTimeouts {},
        [] { return TargetsSources::forThisProgram (juce::Time::getCurrentTime()); },
        CatalogueSigner::builtIn(),
        [] { juce::JUCEApplication::quit(); } });
}
