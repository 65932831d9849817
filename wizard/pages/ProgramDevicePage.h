#pragma once

#include <atomic>

#include "handover/ProgressReporter.h"
#include "handover/StatusReporter.h"
#include "wizard/WizardPage.h"
#include "wizard/pages/StatusHandOver.h"

/** Shown while the firmware image is written into the device: the programming
    status text and its progress. It cannot be cancelled.

    The controller runs this page's modal loop while the update worker runs; the
    worker ends it.
*/
class ProgramDevicePage : public WizardPage,
                          public StatusReporter,
                          public ProgressReporter,
                          private juce::Timer
{
public:
    ProgramDevicePage();

    /** Any thread; see StatusReporter. */
    void reportStatus (const juce::String& text) override;

    /** Any thread; stores fraction as it is, without clamping. From 0 to 1 the bar
        is filled that far; any other value shows activity without a fraction.
    */
    void reportProgress (double fraction) override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void visibilityChanged() override;

private:
    void timerCallback() override;

    // Written by the worker, read by the timer on the message thread; the timer runs
    // only while the page is shown.
    std::atomic<double> progress { -1.0 };

    // The copy of progress that the bar watches; message thread only. The bar reads
    // its value as a plain double, so it never watches the worker's value directly.
    double shownProgress = -1.0;

    juce::Label statusLabel;
    StatusHandOver statusHandOver { statusLabel };
    juce::ProgressBar progressBar { shownProgress };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgramDevicePage)
};
