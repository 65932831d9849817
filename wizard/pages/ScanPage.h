#pragma once

#include "handover/StatusReporter.h"
#include "wizard/WizardPage.h"
#include "wizard/pages/StatusHandOver.h"

/** Shown while the targets file is fetched and the MIDI ports are scanned: one
    line of status text from the worker, and Cancel.

    The controller runs this page's modal loop while a worker runs; the worker ends
    it with 1, Cancel with 0. The page never stops the worker itself.
*/
class ScanPage : public WizardPage,
                 public StatusReporter,
                 public juce::Button::Listener
{
public:
    ScanPage();

    /** Any thread; see StatusReporter. */
    void reportStatus (const juce::String& text) override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    bool keyPressed (const juce::KeyPress&) override;

private:
    juce::Label statusLabel;
    StatusHandOver statusHandOver { statusLabel };
    juce::TextButton cancelButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ScanPage)
};
