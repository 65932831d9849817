#include <gtest/gtest.h>

#include "app/QuillonLookAndFeel.h"
#include "tests/support/DisplayFocus.h"

namespace
{
    // Paints a component on an opaque black background, the way a parent would.
    juce::Image render (juce::Component& component)
    {
        juce::Image image (juce::Image::RGB, component.getWidth(), component.getHeight(), true);
        juce::Graphics g (image);
        g.fillAll (juce::Colours::black);
        component.paintEntireComponent (g, false);
        return image;
    }

    juce::uint32 rgbAt (const juce::Image& image, int x, int y)
    {
        return image.getPixelAt (x, y).getARGB() & 0x00ffffff;
    }

    int channelDistance (juce::Colour a, juce::Colour b)
    {
        return juce::jmax (std::abs (a.getRed() - b.getRed()),
                           std::abs (a.getGreen() - b.getGreen()),
                           std::abs (a.getBlue() - b.getBlue()));
    }

    struct LookAndFeelFixture : public ::testing::Test
    {
        QuillonLookAndFeel lookAndFeel;
    };

    struct ButtonBodies : public LookAndFeelFixture
    {
        ButtonBodies()
        {
            button.setLookAndFeel (&lookAndFeel);
            button.setSize (88, 24);
        }

        ~ButtonBodies() override { button.setLookAndFeel (nullptr); }

        juce::Image renderBackground (bool mouseOver, bool down)
        {
            juce::Image image (juce::Image::RGB, button.getWidth(), button.getHeight(), true);
            juce::Graphics g (image);
            g.fillAll (juce::Colours::black);
            lookAndFeel.drawButtonBackground (g, button, juce::Colours::red, mouseOver, down);
            return image;
        }

        juce::TextButton button;
    };

    struct ToggleBoxes : public LookAndFeelFixture
    {
        ToggleBoxes()
        {
            toggle.setLookAndFeel (&lookAndFeel);
            toggle.setSize (120, 24);
        }

        ~ToggleBoxes() override { toggle.setLookAndFeel (nullptr); }

        // Pixel of a point of the 9 x 9 design grid of the 20-pixel box at (4, 2).
        static juce::Point<int> boxPixel (float unitX, float unitY)
        {
            return { (int) (4.0f + unitX * 20.0f / 9.0f), (int) (2.0f + unitY * 20.0f / 9.0f) };
        }

        juce::uint32 rgbAtUnit (float unitX, float unitY)
        {
            const auto p = boxPixel (unitX, unitY);
            return rgbAt (render (toggle), p.x, p.y);
        }

        juce::ToggleButton toggle;
    };

    /** Records where drawToggleButton puts its box, and which kind it draws. */
    struct RecordingLookAndFeel : public QuillonLookAndFeel
    {
        void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                          bool, bool, bool, bool) override
        {
            record ("tick", x, y, w, h);
        }

        void drawRadioBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                           bool, bool, bool, bool) override
        {
            record ("radio", x, y, w, h);
        }

        void record (juce::String kind, float x, float y, float w, float h)
        {
            lastKind = kind;
            lastBox = { x, y, w, h };
        }

        juce::String lastKind;
        juce::Rectangle<float> lastBox;
    };
}

TEST_F (LookAndFeelFixture, SetsTheSchemeColoursOverTheOldSchoolOnes)
{
    EXPECT_EQ (lookAndFeel.findColour (juce::TextEditor::focusedOutlineColourId).getARGB(), 0xffa1a1c1u);
    EXPECT_EQ (lookAndFeel.findColour (juce::TextEditor::backgroundColourId).getARGB(), 0xff404040u);
    EXPECT_EQ (lookAndFeel.findColour (juce::AlertWindow::backgroundColourId).getARGB(), 0xff313131u);
    EXPECT_EQ (lookAndFeel.findColour (juce::ComboBox::outlineColourId).getARGB(), 0xff6161a1u);
    EXPECT_EQ (lookAndFeel.findColour (juce::HyperlinkButton::textColourId).getARGB(), 0xccc0c0ffu);
    EXPECT_EQ (lookAndFeel.findColour (juce::PopupMenu::highlightedBackgroundColourId).getARGB(), 0xccc0c0ffu);
    EXPECT_EQ (lookAndFeel.findColour (juce::ProgressBar::backgroundColourId).getARGB(), 0xff616161u);
}

namespace
{
    // WCAG 2's relative luminance of an opaque sRGB colour.
    double relativeLuminance (juce::Colour c)
    {
        auto linear = [] (juce::uint8 channel)
        {
            const auto v = channel / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow ((v + 0.055) / 1.055, 2.4);
        };

        return 0.2126 * linear (c.getRed()) + 0.7152 * linear (c.getGreen()) + 0.0722 * linear (c.getBlue());
    }

    double contrastRatio (juce::Colour a, juce::Colour b)
    {
        const auto lighter = juce::jmax (relativeLuminance (a), relativeLuminance (b));
        const auto darker = juce::jmin (relativeLuminance (a), relativeLuminance (b));
        return (lighter + 0.05) / (darker + 0.05);
    }
}

TEST_F (LookAndFeelFixture, EveryTextStandsOutFromWhatItIsDrawnOnByAtLeastFourAndAHalfToOne)
{
    // A text colour, and the layers it is drawn on from the bottom up: what JUCE draws
    // with these colours, a translucent layer overlaid on the one below it.
    struct Case
    {
        const char* where;
        int text;
        std::vector<int> layers;
        float topLayerAlpha = 1.0f;
    };

    using juce::TextEditor;

    // clang-format off
    const Case cases[] = {
        { "drop-down list's box",                     juce::ComboBox::textColourId,                  { juce::ComboBox::backgroundColourId } },
        { "entry of an open drop-down list",          juce::PopupMenu::textColourId,                 { juce::PopupMenu::backgroundColourId } },
        { "highlighted entry of an open list",        juce::PopupMenu::highlightedTextColourId,      { juce::PopupMenu::backgroundColourId, juce::PopupMenu::highlightedBackgroundColourId } },
        { "text box",                                 TextEditor::textColourId,                      { TextEditor::backgroundColourId } },
        { "selected text in the focused box",         TextEditor::highlightedTextColourId,           { TextEditor::backgroundColourId, TextEditor::highlightColourId } },
        { "selected text in a box without focus",     TextEditor::highlightedTextColourId,           { TextEditor::backgroundColourId, TextEditor::highlightColourId }, 0.5f },
        { "message box",                              juce::AlertWindow::textColourId,               { juce::AlertWindow::backgroundColourId } },
        { "tooltip",                                  juce::TooltipWindow::textColourId,             { juce::TooltipWindow::backgroundColourId } },
    };
    // clang-format on

    for (const auto& c : cases)
    {
        auto background = juce::Colours::black;

        for (size_t i = 0; i < c.layers.size(); ++i)
        {
            const auto alpha = i + 1 == c.layers.size() ? c.topLayerAlpha : 1.0f;
            background = background.overlaidWith (lookAndFeel.findColour (c.layers[i]).withMultipliedAlpha (alpha));
        }

        const auto text = background.overlaidWith (lookAndFeel.findColour (c.text));

        EXPECT_GE (contrastRatio (text, background), 4.5)
            << c.where << ": " << text.toDisplayString (false) << " on " << background.toDisplayString (false);
    }
}

TEST (QuillonAlphaBytes, RimAlphasAreTheNearestBytesOfTheirFractions)
{
    EXPECT_EQ (QuillonLookAndFeel::rimPressed, juce::Colour (0xff0000ffu).withAlpha (0.3f).getARGB());
    EXPECT_EQ (QuillonLookAndFeel::rim, juce::Colour (0xff0000ffu).withAlpha (0.1f).getARGB());
    EXPECT_EQ (QuillonLookAndFeel::boxFillDisabled, juce::Colour (0xffd3d3d3u).withAlpha (0.1f).getARGB());
}

TEST_F (ButtonBodies, UnpressedBodyIsDarkGreyAndPressedBodyLightGrey)
{
    EXPECT_EQ (rgbAt (renderBackground (false, false), 44, 12), 0x616161u);
    EXPECT_EQ (rgbAt (renderBackground (false, true), 44, 12), 0xa1a1a1u);
    EXPECT_EQ (rgbAt (render (button), 44, 12), 0x616161u) << "the button's own colour is not used";
}

TEST_F (ButtonBodies, HoverLaysAFaintWhiteWashOverTheBody)
{
    const auto wash = juce::Colour (QuillonLookAndFeel::hoverWash);

    EXPECT_LE (channelDistance (renderBackground (true, false).getPixelAt (44, 12),
                                juce::Colour (0xff616161).overlaidWith (wash)),
               1);

    button.setState (juce::Button::buttonDown);
    EXPECT_LE (channelDistance (render (button).getPixelAt (44, 12),
                                juce::Colour (0xffa1a1a1).overlaidWith (wash)),
               1)
        << "a pressed button has the mouse over it";
}

TEST_F (ButtonBodies, PressedRimIsBluerThanTheNormalRim)
{
    const auto normalEdge = renderBackground (false, false).getPixelAt (0, 12);
    const auto pressedEdge = renderBackground (false, true).getPixelAt (0, 12);

    EXPECT_GT (normalEdge.getBlue(), normalEdge.getRed());
    EXPECT_GT (pressedEdge.getBlue() - pressedEdge.getRed(), normalEdge.getBlue() - normalEdge.getRed());
}

TEST_F (ButtonBodies, TextIsWhiteWhenEnabledAndHalfTransparentWhenDisabled)
{
    button.setButtonText ("MMMMMMMMMMMMMMMM");
    auto brightest = [this]
    {
        const auto image = render (button);
        juce::uint8 best = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                best = juce::jmax (best, image.getPixelAt (x, y).getRed());

        return best;
    };

    EXPECT_GE (brightest(), 0xf0);

    button.setEnabled (false);
    EXPECT_LT (brightest(), 0xc0);
}

TEST_F (ToggleBoxes, RadioButtonDrawsADotAndPlainToggleATick)
{
    toggle.setToggleState (true, juce::dontSendNotification);
    EXPECT_EQ (rgbAtUnit (5.5f, 1.0f), 0xffffffu) << "the tick's rising stroke leaves the box";

    toggle.setRadioGroupId (1);
    EXPECT_EQ (rgbAtUnit (3.0f, 5.0f), 0xffffffu) << "the dot's centre";
    EXPECT_NE (rgbAtUnit (5.5f, 1.0f), 0xffffffu);

    toggle.setToggleState (false, juce::dontSendNotification);
    EXPECT_NE (rgbAtUnit (3.0f, 5.0f), 0xffffffu);
}

TEST_F (ToggleBoxes, DisabledBoxHasAGreyMarkAndAFaintFill)
{
    toggle.setToggleState (true, juce::dontSendNotification);
    toggle.setEnabled (false);

    EXPECT_EQ (rgbAtUnit (5.5f, 1.0f), 0x808080u);

    toggle.setToggleState (false, juce::dontSendNotification);
    const auto faint = juce::Colours::black.overlaidWith (juce::Colour (QuillonLookAndFeel::boxFillDisabled));
    EXPECT_LE (channelDistance (juce::Colour (0xff000000 | rgbAtUnit (3.0f, 5.0f)), faint), 1);
}

TEST_F (ToggleBoxes, EnabledBoxIsFilledWithTheRimColour)
{
    const auto filled = juce::Colours::black.overlaidWith (juce::Colour (QuillonLookAndFeel::rim));
    EXPECT_LE (channelDistance (juce::Colour (0xff000000 | rgbAtUnit (3.0f, 5.0f)), filled), 1);
}

TEST (ToggleBoxGeometry, BoxIsTwentyPixelsOrFourLessThanTheButtonHeight)
{
    RecordingLookAndFeel lookAndFeel;
    juce::ToggleButton toggle;
    toggle.setLookAndFeel (&lookAndFeel);

    toggle.setSize (200, 24);
    render (toggle);
    EXPECT_EQ (lookAndFeel.lastKind, "tick");
    EXPECT_EQ (lookAndFeel.lastBox, juce::Rectangle<float> (4.0f, 2.0f, 20.0f, 20.0f));

    toggle.setSize (200, 10);
    toggle.setRadioGroupId (1);
    render (toggle);
    EXPECT_EQ (lookAndFeel.lastKind, "radio");
    EXPECT_EQ (lookAndFeel.lastBox, juce::Rectangle<float> (4.0f, 2.0f, 6.0f, 6.0f));

    toggle.setSize (200, 31);
    render (toggle);
    EXPECT_EQ (lookAndFeel.lastBox, juce::Rectangle<float> (4.0f, 5.0f, 20.0f, 20.0f)) << "(31 - 20) / 2 rounds down";

    toggle.setLookAndFeel (nullptr);
}

TEST (QuillonLookAndFeelFocus, ButtonsListsTickBoxesAndReadOnlyTextShowAnOutlineOnlyWhileFocused)
{
    DisplayFocus displayFocus;
    ASSERT_TRUE (displayFocus.isHeld());
    QuillonLookAndFeel lookAndFeel;
    juce::Component window;
    window.setLookAndFeel (&lookAndFeel);
    window.setBounds (0, 0, 200, 100);
    window.addToDesktop (0);
    window.setVisible (true);

    juce::TextButton button ("Next >");
    juce::ComboBox list;
    juce::ToggleButton tickBox ("Yes");
    juce::TextEditor readOnlyText;
    readOnlyText.setReadOnly (true);
    const auto focusColour = lookAndFeel.findColour (juce::TextEditor::focusedOutlineColourId);

    const std::pair<const char*, juce::Component*> controls[] = {
        { "text button", &button }, { "list", &list }, { "tick box", &tickBox }, { "read-only text", &readOnlyText }
    };

    for (const auto& [name, control] : controls)
    {
        window.addAndMakeVisible (control);
        control->setBounds (10, 10, 120, 24);
        const auto topEdge = [&, shown = control] { return juce::Colour (rgbAt (render (*shown), 60, 0)).withAlpha (1.0f); };

        control->giveAwayKeyboardFocus();
        EXPECT_NE (topEdge(), focusColour) << name << ", unfocused";

        ASSERT_TRUE (DisplayFocus::focus (window));
        control->grabKeyboardFocus();
        ASSERT_TRUE (control->hasKeyboardFocus (false));
        EXPECT_EQ (topEdge(), focusColour) << name << ", focused";

        window.removeChildComponent (control);
    }

    window.setLookAndFeel (nullptr);
}
