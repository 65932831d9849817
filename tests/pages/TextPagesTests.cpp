#include <gtest/gtest.h>

#include "tests/support/ComponentFinder.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/UserTexts.h"
#include "wizard/pages/PreUpdateInstructionsPage.h"
#include "wizard/pages/ResultsPage.h"
#include "wizard/pages/WelcomePage.h"

using ComponentFinder::child;

TEST (WelcomePage, ShowsItsFixedExplanationInOneMessageBox)
{
    WelcomePage page;

    EXPECT_EQ (page.caption, UserTexts::welcome);
    EXPECT_EQ (page.description, "Welcome to Quillon");
    ASSERT_EQ (page.getNumChildComponents(), 1);

    auto& box = child<juce::TextEditor> (page, 0);
    EXPECT_EQ (box.getName(), "new text editor");
    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (40, 48, 312, 88));
    EXPECT_EQ (box.getText(), "This application will update your devices' firmware. Please make sure your computer "
                              "is connected to the internet, and that your updatable devices are connected to your "
                              "computer and powered on. Then, click Next to proceed.");
}

TEST (PreUpdateInstructionsPage, StartsEmptyAndShowsTheInstructionsItIsGiven)
{
    PreUpdateInstructionsPage page;

    EXPECT_EQ (page.caption, UserTexts::prepareToUpdate);
    EXPECT_EQ (page.description, "Please follow these instructions before continuing");
    ASSERT_EQ (page.getNumChildComponents(), 1);

    auto& box = child<juce::TextEditor> (page, 0);
    EXPECT_EQ (box.getName(), "new text editor");
    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (40, 48, 312, 120));
    EXPECT_EQ (box.getText(), "");

    page.setInstructions ("Hold the Tap button while you switch the unit on.");
    EXPECT_EQ (box.getText(), "Hold the Tap button while you switch the unit on.");

    page.setInstructions ("Unplug the expression pedal.");
    EXPECT_EQ (box.getText(), "Unplug the expression pedal.");
}

TEST (ResultsPage, StartsWithPlaceholderHeaderAndAnEmptyUnnamedBox)
{
    ResultsPage page;

    EXPECT_EQ (page.caption, "Update Results");
    EXPECT_EQ (page.description, "");
    ASSERT_EQ (page.getNumChildComponents(), 1);

    auto& box = child<juce::TextEditor> (page, 0);
    EXPECT_EQ (box.getName(), "");
    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (32, 32, 336, 128));
    EXPECT_EQ (box.getText(), "");
}

TEST (ResultsPage, ItsBoxScrollsAndOffersItsMenuUnlikeTheOtherMessageBoxes)
{
    ResultsPage results;
    WelcomePage welcome;
    auto& resultsBox = child<juce::TextEditor> (results, 0);
    auto& welcomeBox = child<juce::TextEditor> (welcome, 0);

    EXPECT_TRUE (resultsBox.areScrollbarsShown());
    EXPECT_TRUE (resultsBox.isPopupMenuEnabled());
    EXPECT_FALSE (welcomeBox.areScrollbarsShown());
    EXPECT_FALSE (welcomeBox.isPopupMenuEnabled());
}

TEST (ResultsPage, ALongTextCanBeScrolledAndSelectedButNotEdited)
{
    ResultsPage page;
    auto& box = child<juce::TextEditor> (page, 0);
    juce::String details;

    for (int line = 1; line <= 40; ++line)
        details << "Command 0x7A failed on line " << line << "\n";

    page.setDetails (details);
    EXPECT_EQ (box.getText(), details);
    EXPECT_GT (box.getTextHeight(), box.getHeight());

    box.setHighlightedRegion ({ 0, 16 });
    EXPECT_EQ (box.getHighlightedText(), "Command 0x7A fai");

    box.keyPressed (juce::KeyPress ('x'));
    box.keyPressed (juce::KeyPress (juce::KeyPress::deleteKey));
    EXPECT_EQ (box.getText(), details);
}

TEST (ResultsPage, ANewTextStartsAtItsTopWithNothingSelectedWhateverTheRunBeforeLeft)
{
    struct Case
    {
        const char* name;
        juce::String before;
        juce::String after;
    };

    juce::String longDetails;

    for (int line = 1; line <= 40; ++line)
        longDetails << "Block " << line << " was not acknowledged\n";

    // clang-format off
    const Case cases[] = {
        { "another outcome",            "The device did not answer.", "No update is newer than the device's version." },
        { "the same outcome again",     "The device did not answer.", "The device did not answer." },
        { "a long outcome, read again", longDetails,                  longDetails },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        ResultsPage page;
        auto& box = child<juce::TextEditor> (page, 0);

        page.setDetails (c.before);
        box.moveCaretToEnd();
        box.selectAll();
        ASSERT_FALSE (box.getHighlightedRegion().isEmpty()) << c.name;

        page.setDetails (c.after);

        EXPECT_TRUE (box.getHighlightedRegion().isEmpty()) << c.name;
        EXPECT_EQ (box.getCaretPosition(), 0) << c.name;
        EXPECT_EQ (box.getText(), c.after) << c.name;
    }
}
