#include <gtest/gtest.h>

#include "tests/support/MessageLoop.h"
#include "tests/support/UserTexts.h"
#include "wizard/WizardComponent.h"

namespace
{
    /** Exposes the frame's children and counts the clicks it reports. */
    struct ProbedWizard : public WizardComponent
    {
        void nextClicked() override { clicks += "next "; }
        void backClicked() override { clicks += "back "; }
        void doneClicked() override { clicks += "done "; }
        void startOverClicked() override { clicks += "startOver "; }

        juce::TextButton& done() { return doneButton; }
        juce::TextButton& next() { return nextButton; }
        juce::TextButton& back() { return backButton; }
        juce::TextButton& startOver() { return startOverButton; }
        juce::Component& holder() { return pageHolder; }
        juce::String caption() const { return captionLabel.getText(); }
        juce::String description() const { return descriptionLabel.getText(); }

        juce::String clicks;
    };

    struct WizardFrame : public ::testing::Test
    {
        ProbedWizard wizard;
        WizardPage first { "First", "The first page" };
        WizardPage second { "Second", "The second page" };
    };
}

TEST_F (WizardFrame, StartsWithOnlyStartOverHiddenAndPlaceholderHeader)
{
    EXPECT_EQ (wizard.getWidth(), 400);
    EXPECT_EQ (wizard.getHeight(), 300);
    EXPECT_TRUE (wizard.done().isVisible());
    EXPECT_TRUE (wizard.next().isVisible());
    EXPECT_TRUE (wizard.back().isVisible());
    EXPECT_FALSE (wizard.startOver().isVisible());
    EXPECT_EQ (wizard.caption(), "Caption");
    EXPECT_EQ (wizard.description(), "Description");
    EXPECT_EQ (wizard.next().getButtonText(), UserTexts::next);
    EXPECT_EQ (wizard.back().getButtonText(), UserTexts::back);
    EXPECT_EQ (wizard.startOver().getButtonText(), UserTexts::startOver);
    EXPECT_EQ (wizard.currentPage(), nullptr);
}

TEST_F (WizardFrame, LaysOutItsChildrenFromTheBottomRightCorner)
{
    for (auto size : { juce::Point<int> (400, 272), juce::Point<int> (640, 480) })
    {
        const int w = size.x, h = size.y;
        wizard.setSize (w, h);

        EXPECT_EQ (wizard.done().getBounds(), juce::Rectangle<int> (w - 107, h - 30, 88, 24));
        EXPECT_EQ (wizard.next().getBounds(), juce::Rectangle<int> (w - 107, h - 30, 88, 24));
        EXPECT_EQ (wizard.back().getBounds(), juce::Rectangle<int> (w - 211, h - 30, 88, 24));
        EXPECT_EQ (wizard.holder().getBounds(), juce::Rectangle<int> (0, 62, w, h - 100));
        EXPECT_EQ (wizard.startOver().getBounds(), juce::Rectangle<int> (w - 384, h - 30, 104, 24));
    }
}

TEST_F (WizardFrame, ShowPageFillsTheHolderAndCopiesTheHeader)
{
    wizard.setSize (400, 272);
    wizard.showPage (&first);

    EXPECT_EQ (wizard.currentPage(), &first);
    EXPECT_EQ (first.getBounds(), juce::Rectangle<int> (0, 0, 400, 172));
    EXPECT_TRUE (first.isVisible());
    EXPECT_EQ (wizard.caption(), "First");
    EXPECT_EQ (wizard.description(), "The first page");

    wizard.showPage (&second);

    EXPECT_EQ (wizard.currentPage(), &second);
    EXPECT_EQ (wizard.holder().getNumChildComponents(), 1);
    EXPECT_FALSE (first.isVisible());
    EXPECT_EQ (first.getParentComponent(), nullptr) << "removed, not deleted";
    EXPECT_EQ (wizard.caption(), "Second");
}

TEST_F (WizardFrame, OnlyTheCurrentPagesChangeMessagesRefreshTheHeader)
{
    wizard.showPage (&first);
    wizard.showPage (&second);

    first.caption = "Stale";
    first.sendSynchronousChangeMessage();
    EXPECT_EQ (wizard.caption(), "Second");

    wizard.changeListenerCallback (&first);
    EXPECT_EQ (wizard.caption(), "Second") << "even when the frame is called directly";

    second.caption = "Scanning...";
    second.description = "Please wait";
    second.sendSynchronousChangeMessage();
    EXPECT_EQ (wizard.caption(), "Scanning...");
    EXPECT_EQ (wizard.description(), "Please wait");

    wizard.showPage (&first);
    EXPECT_EQ (wizard.caption(), "Stale") << "a page shown again brings its header back";
}

TEST_F (WizardFrame, HidingNextUncoversDoneInTheSamePlace)
{
    wizard.setSize (400, 272);
    wizard.setVisible (true);
    const auto spot = wizard.next().getBounds().getCentre();

    EXPECT_EQ (wizard.getComponentAt (spot), &wizard.next());

    wizard.setButtonsVisible (WizardComponent::NextButton, false);
    EXPECT_EQ (wizard.getComponentAt (spot), &wizard.done());

    wizard.setButtonsVisible (WizardComponent::NextButton, true);
    EXPECT_EQ (wizard.getComponentAt (spot), &wizard.next());
}

TEST_F (WizardFrame, MasksSelectExactlyTheirButtons)
{
    wizard.setButtonsEnabled (false, WizardComponent::BackButton | WizardComponent::StartOverButton);
    EXPECT_TRUE (wizard.next().isEnabled());
    EXPECT_FALSE (wizard.back().isEnabled());
    EXPECT_TRUE (wizard.done().isEnabled());
    EXPECT_FALSE (wizard.startOver().isEnabled());

    wizard.setButtonsVisible (WizardComponent::AllButtons, true);
    EXPECT_TRUE (wizard.startOver().isVisible());

    wizard.setButtonsEnabled (true, WizardComponent::AllButtons);
    wizard.setButtonsVisible (WizardComponent::AllButtons, false);
    EXPECT_TRUE (wizard.back().isEnabled());
    EXPECT_FALSE (wizard.done().isVisible());
    EXPECT_FALSE (wizard.next().isVisible());
}

TEST_F (WizardFrame, ClicksReachTheMatchingVirtualOperation)
{
    wizard.done().triggerClick();
    wizard.next().triggerClick();
    wizard.back().triggerClick();
    wizard.startOver().setVisible (true);
    wizard.startOver().triggerClick();
    MessageLoop::dispatchPending();

    EXPECT_EQ (wizard.clicks, "done next back startOver ");
}

TEST_F (WizardFrame, ClickOnAStrangersButtonDoesNothing)
{
    juce::TextButton stranger;
    wizard.buttonClicked (&stranger);

    EXPECT_TRUE (wizard.clicks.isEmpty());
}
