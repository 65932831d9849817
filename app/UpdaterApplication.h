#pragma once

#include "app/AppWindow.h"
#include "app/QuillonLookAndFeel.h"
#include "device/ports/MidiPortSystem.h"
#include "platform/QuitSignals.h"

/** The application object: installs the look and feel, opens the window, and
    tears both down in the reverse order. The command line is not interpreted. A
    request from the session to end (a logout, SIGTERM, SIGHUP) closes the window as its
    close button does, so that a device being written stops after its current block.
*/
class UpdaterApplication : public juce::JUCEApplication
{
public:
    UpdaterApplication();
    ~UpdaterApplication() override;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;

protected:
    /** Builds the window's content: the update wizard on the computer's MIDI ports
        and the configured update server. The demo overrides this to wire the wizard
        to simulated devices and a local server.
    */
    virtual std::unique_ptr<juce::Component> createWizard();

private:
    std::unique_ptr<MidiPortSystem> midiPorts;
    std::unique_ptr<AppWindow> mainWindow;
    std::unique_ptr<QuillonLookAndFeel> lookAndFeel;
    std::unique_ptr<QuitSignals> quitSignals;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdaterApplication)
};
