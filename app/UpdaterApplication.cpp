#include "app/UpdaterApplication.h"

#include "wizard/WizardComponent.h"

namespace
{
    /** The frame with a single welcome page, shown until the update flow is wired in. */
    class WelcomeFrame : public WizardComponent
    {
    public:
        WelcomeFrame()
        {
            showPage (&page);
            setSize (400, 272);
        }

        void doneClicked() override    { juce::JUCEApplication::quit(); }

    private:
        WizardPage page { "Welcome", "Welcome to the Quillon update wizard" };
    };
}

UpdaterApplication::UpdaterApplication() = default;
UpdaterApplication::~UpdaterApplication() = default;

void UpdaterApplication::initialise (const juce::String&)
{
    lookAndFeel = std::make_unique<QuillonLookAndFeel>();
    juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel.get());
    mainWindow = std::make_unique<AppWindow> (createWizard());
}

void UpdaterApplication::shutdown()
{
    mainWindow.reset();
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    lookAndFeel.reset();
}

const juce::String UpdaterApplication::getApplicationName()     { return "Quillon"; }
const juce::String UpdaterApplication::getApplicationVersion()  { return "1.0"; }
bool UpdaterApplication::moreThanOneInstanceAllowed()           { return true; }
void UpdaterApplication::anotherInstanceStarted (const juce::String&) {}

std::unique_ptr<juce::Component> UpdaterApplication::createWizard()
{
    return std::make_unique<WelcomeFrame>();
}
