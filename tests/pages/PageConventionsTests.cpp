#include <gtest/gtest.h>

#include "tests/support/JucePrinters.h"
#include "wizard/pages/ConfirmPage.h"
#include "wizard/pages/DownloadImagePage.h"
#include "wizard/pages/PreUpdateInstructionsPage.h"
#include "wizard/pages/ProgramDevicePage.h"
#include "wizard/pages/ResultsPage.h"
#include "wizard/pages/ScanPage.h"
#include "wizard/pages/SelectDevicePage.h"
#include "wizard/pages/SelectUpdatePage.h"
#include "wizard/pages/SelectVersionFilterPage.h"
#include "wizard/pages/WelcomePage.h"

namespace
{
    std::vector<juce::Rectangle<int>> childBounds (const juce::Component& page)
    {
        std::vector<juce::Rectangle<int>> bounds;

        for (auto* c : page.getChildren())
            bounds.push_back (c->getBounds());

        return bounds;
    }
}

template <typename Page>
class PageConventions : public ::testing::Test
{
protected:
    Page page;
};

using AllPages = ::testing::Types<WelcomePage, ScanPage, SelectDevicePage, SelectVersionFilterPage,
                                  SelectUpdatePage, ConfirmPage, DownloadImagePage, PreUpdateInstructionsPage,
                                  ProgramDevicePage, ResultsPage>;

TYPED_TEST_SUITE (PageConventions, AllPages);

TYPED_TEST (PageConventions, IsBuiltFourHundredByTwoHundred)
{
    EXPECT_EQ (this->page.getWidth(), 400);
    EXPECT_EQ (this->page.getHeight(), 200);
}

TYPED_TEST (PageConventions, PaintsItsWholeAreaDarkGrey)
{
    const auto image = this->page.createComponentSnapshot (this->page.getLocalBounds(), false);

    for (auto corner : { juce::Point<int> (0, 0), juce::Point<int> (399, 0),
                         juce::Point<int> (0, 199), juce::Point<int> (399, 199) })
        EXPECT_EQ (image.getPixelAt (corner.x, corner.y).getARGB(), 0xff404040u) << corner.toString();
}

TYPED_TEST (PageConventions, KeepsItsChildrenWhereTheyAreWhenResized)
{
    const auto before = childBounds (this->page);

    this->page.setSize (640, 480);

    EXPECT_EQ (childBounds (this->page), before);
}

TYPED_TEST (PageConventions, ShowsEveryChildItCreatesOnceItIsShown)
{
    this->page.setVisible (true);

    for (auto* c : this->page.getChildren())
        EXPECT_TRUE (c->isVisible() || dynamic_cast<juce::HyperlinkButton*> (c) != nullptr);
}

TYPED_TEST (PageConventions, SetsUpEveryPlainLabelAsAPageLabel)
{
    for (auto* c : this->page.getChildren())
    {
        auto* label = dynamic_cast<juce::Label*> (c);

        if (label == nullptr || label->getFont().isBold())
            continue;

        EXPECT_FLOAT_EQ (label->getFont().getHeight(), 15.0f);
        EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centredLeft));
        EXPECT_FALSE (label->isEditableOnSingleClick());
        EXPECT_FALSE (label->isEditableOnDoubleClick());
        EXPECT_FALSE (label->doesLossOfFocusDiscardChanges());
        EXPECT_EQ (label->findColour (juce::TextEditor::textColourId).getARGB(), 0xff000000u);
        EXPECT_EQ (label->findColour (juce::TextEditor::backgroundColourId).getARGB(), 0x00000000u);
    }
}

TYPED_TEST (PageConventions, MakesEveryTextBoxAReadOnlyWrappedBlock)
{
    for (auto* c : this->page.getChildren())
    {
        if (auto* box = dynamic_cast<juce::TextEditor*> (c))
        {
            EXPECT_TRUE (box->isMultiLine());
            EXPECT_TRUE (box->isReadOnly());
            EXPECT_FALSE (box->getReturnKeyStartsNewLine());
        }
    }
}
