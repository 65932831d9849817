#pragma once

#include "handover/StatusReporter.h"
#include "wizard/WizardPage.h"
#include "wizard/pages/StatusHandOver.h"

/** Shown while the firmware image is downloaded: the download's status text, a bar
    that shows activity without a fraction (the texts tell how far it has got), and
    Cancel.

    The controller runs this page's modal loop while the download worker runs; the
    worker ends it with 1, Cancel with 0.
*/
class DownloadImagePage : public WizardPage,
                          public StatusReporter,
                          public juce::Button::Listener
{
public:
    DownloadImagePage();

    /** Any thread; see StatusReporter. */
    void reportStatus (const juce::String& text) override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void visibilityChanged() override;
    void buttonClicked (juce::Button*) override;
    bool keyPressed (const juce::KeyPress&) override;

private:
    // Never written: the bar shows activity for the whole download. Message thread only.
    double progress = -1.0;

    juce::Label statusLabel;
    StatusHandOver statusHandOver { statusLabel };
    juce::ProgressBar progressBar { progress };
    juce::TextButton cancelButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DownloadImagePage)
};
