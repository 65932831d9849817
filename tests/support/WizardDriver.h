#pragma once

#include "tests/support/PollingTrigger.h"
#include "wizard/UpdateWizard.h"

#include <gtest/gtest.h>

#include <functional>

/** Drives an UpdateWizard as a user would: through its buttons and the controls of
    the page shown, on the test's message thread. Every wait is bounded. The steps that
    can fail say so in what they return, for the calling test to assert.
*/
class WizardDriver
{
public:
    explicit WizardDriver (UpdateWizard& wizardToDrive);

    /** Clicks the frame button with this text and lets everything it starts run: a
        step with a worker returns once the worker has ended its page's modal loop.
    */
    void click (const juce::String& buttonText);

    bool isVisible (const juce::String& buttonText) const;
    bool isEnabled (const juce::String& buttonText) const;

    juce::String caption() const;
    juce::String description() const;

    /** The text of the page's first label (the status line of the pages that have one). */
    juce::String labelText() const;

    /** The text of the first text box on the current page. */
    juce::String pageText() const;

    /** Chooses the item at index in the current page's combo box, as a user would. */
    [[nodiscard]] ::testing::AssertionResult choose (int index);

    /** Clicks the toggle button with this text on the current page. */
    [[nodiscard]] ::testing::AssertionResult toggle (const juce::String& buttonText);

    /** The texts of the items of the current page's combo box. */
    juce::StringArray listedItems() const;

    /** Clicks the current page's Cancel as soon as condition is true (checked on the
        message thread, also while a step's modal loop runs).
    */
    void cancelWhen (std::function<bool()> condition);

    /** From the welcome page of a scene with one device and an update for it: Next
        through the scan and the choices, each page checked on the way, to the
        confirmation.
    */
    [[nodiscard]] ::testing::AssertionResult walkToConfirmPage();

    /** On the confirmation page: ticks the acknowledgement and clicks Next into the
        download and the update.
    */
    [[nodiscard]] ::testing::AssertionResult confirmAndUpdate();

    /** From the welcome page of the usual scene, with its one device and the newest
        revision: through the scan, the choices and the confirmation, and Next into the
        download and the update.
    */
    [[nodiscard]] ::testing::AssertionResult updateToTheNewestVersion();

    /** Clicks Next (ticking the acknowledgement on the way) until the page with this
        caption shows, for no more steps than a run has.
    */
    [[nodiscard]] ::testing::AssertionResult walkTo (const juce::String& caption);

private:
    juce::Button& frameButton (const juce::String& text) const;

    template <typename ComponentType>
    ComponentType* findOnPage() const;

    UpdateWizard& wizard;
    std::unique_ptr<PollingTrigger> pendingCancel;
};
