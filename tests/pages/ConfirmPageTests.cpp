#include <gtest/gtest.h>

#include "tests/support/ChangeCounter.h"
#include "tests/support/ComponentFinder.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/MessageLoop.h"
#include "tests/support/UserTexts.h"
#include "wizard/pages/ConfirmPage.h"

using ComponentFinder::child;
using MessageLoop::click;

namespace
{
    juce::ToggleButton& acknowledgeToggle (ConfirmPage& page) { return child<juce::ToggleButton> (page, 1); }
}

TEST (ConfirmPage, CarriesItsCaptionDescriptionAndChildren)
{
    ConfirmPage page;

    EXPECT_EQ (page.caption, UserTexts::confirm);
    EXPECT_EQ (page.description, "Confirm your choices");
    ASSERT_EQ (page.getNumChildComponents(), 3);

    auto& box = child<juce::TextEditor> (page, 0);
    EXPECT_EQ (box.getName(), "new text editor");
    EXPECT_EQ (box.getText(), "");
    EXPECT_EQ (box.getBounds(), juce::Rectangle<int> (24, 16, 352, 48));

    auto& toggle = acknowledgeToggle (page);
    EXPECT_EQ (toggle.getName(), "");
    EXPECT_EQ (toggle.getButtonText(), UserTexts::confirmation);
    EXPECT_EQ (toggle.getRadioGroupId(), 0);
    EXPECT_FALSE (toggle.getToggleState());
    EXPECT_EQ (toggle.getBounds(), juce::Rectangle<int> (24, 144, 360, 24));

    auto& warning = child<juce::Label> (page, 2);
    EXPECT_EQ (warning.getName(), "new label");
    EXPECT_EQ (warning.getText(), "WARNING: All user presets and settings may be erased!");
    EXPECT_EQ (warning.getBounds(), juce::Rectangle<int> (24, 88, 360, 24));
}

TEST (ConfirmPage, DrawsTheWarningInBoldFifteenPointCentredLeft)
{
    ConfirmPage page;
    auto& warning = child<juce::Label> (page, 2);

    EXPECT_TRUE (warning.getFont().isBold());
    EXPECT_FLOAT_EQ (warning.getFont().getHeight(), 15.0f);
    EXPECT_EQ (warning.getJustificationType(), juce::Justification (juce::Justification::centredLeft));
    EXPECT_FALSE (warning.isEditable());
}

TEST (ConfirmPage, ShowsTheQuestionItIsGiven)
{
    ConfirmPage page;

    page.setMessage ("Are you sure you want to update the device: Brisma Veil to firmware version 1.2?");

    EXPECT_EQ (child<juce::TextEditor> (page, 0).getText(),
               "Are you sure you want to update the device: Brisma Veil to firmware version 1.2?");
}

TEST (ConfirmPage, BroadcastsEachSwitchOfTheAcknowledgement)
{
    ConfirmPage page;
    ChangeCounter changes (page);

    click (acknowledgeToggle (page));
    EXPECT_TRUE (page.isAcknowledged());
    EXPECT_EQ (changes.count, 1);

    click (acknowledgeToggle (page));
    EXPECT_FALSE (page.isAcknowledged());
    EXPECT_EQ (changes.count, 2);
}
