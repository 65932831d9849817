#include "app/QuillonLookAndFeel.h"

using juce::Colour;

QuillonLookAndFeel::QuillonLookAndFeel()
{
    // clang-format off
    setColour (juce::TextEditor::focusedOutlineColourId,            Colour (0xffa1a1c1));
    setColour (juce::TextEditor::textColourId,                      Colour (0xffffffff));
    setColour (juce::TextEditor::backgroundColourId,                Colour (0xff404040));
    setColour (juce::TextEditor::highlightColourId,                 Colour (0xff6161a1));
    setColour (juce::TextEditor::highlightedTextColourId,           Colour (0xffffffff));
    setColour (juce::AlertWindow::textColourId,                     Colour (0xffffffff));
    setColour (juce::AlertWindow::backgroundColourId,               Colour (0xff313131));
    setColour (juce::Label::textColourId,                           Colour (0xffffffff));
    setColour (juce::ComboBox::textColourId,                        Colour (0xffffffff));
    setColour (juce::ComboBox::buttonColourId,                      Colour (0xffffffff));
    setColour (juce::ComboBox::backgroundColourId,                  Colour (0xff616161));
    setColour (juce::ComboBox::outlineColourId,                     Colour (0xff6161a1));
    setColour (juce::PopupMenu::backgroundColourId,                 Colour (0xff616161));
    setColour (juce::PopupMenu::textColourId,                       Colour (0xffffffff));
    setColour (juce::ToggleButton::textColourId,                    Colour (0xffffffff));
    setColour (juce::HyperlinkButton::textColourId,                 Colour (0xccc0c0ff));
    setColour (juce::PopupMenu::highlightedBackgroundColourId,      Colour (0xccc0c0ff));
    setColour (juce::PopupMenu::highlightedTextColourId,            Colour (0xff000000));
    setColour (juce::ProgressBar::foregroundColourId,               Colour (0xffa1a1c1));
    setColour (juce::ProgressBar::backgroundColourId,               Colour (0xff616161));
    // clang-format on
}

QuillonLookAndFeel::~QuillonLookAndFeel() = default;

void QuillonLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    LookAndFeel_V1::positionComboBoxText (box, label);
    label.setMinimumHorizontalScale (minimumComboBoxTextScale);
}

void QuillonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const Colour&,
                                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    const auto body = juce::Rectangle<int> (button.getWidth(), button.getHeight()).toFloat();
    constexpr float cornerSize = 3.0f;

    g.setColour (Colour (shouldDrawButtonAsDown ? buttonBodyPressed : buttonBody));
    g.fillRoundedRectangle (body, cornerSize);

    if (shouldDrawButtonAsHighlighted)
    {
        g.setColour (Colour (hoverWash));
        g.fillRoundedRectangle (body, cornerSize);
    }

    g.setColour (Colour (shouldDrawButtonAsDown ? rimPressed : rim));
    g.drawRoundedRectangle (body, cornerSize, 2.0f);

    if (button.hasKeyboardFocus (false))
        drawFocusOutline (g, button, body, cornerSize);
}

void QuillonLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto font = getTextButtonFont (button, button.getHeight());
    g.setFont (font);
    g.setColour (Colour (button.isEnabled() ? 0xffffffff : 0x80ffffff));

    const int yIndent = juce::jmin (4, button.proportionOfHeight (0.3f));
    const int cornerSize = juce::jmin (button.getHeight(), button.getWidth()) / 2;
    const int fontHeight = juce::roundToInt (font.getHeight() * 0.6f);
    const int leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const int rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));

    g.drawFittedText (button.getButtonText(),
                      leftIndent, yIndent,
                      button.getWidth() - leftIndent - rightIndent, button.getHeight() - yIndent * 2,
                      juce::Justification::centred, 2, 0.7f);
}

void QuillonLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button,
                                           bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    if (button.hasKeyboardFocus (true))
    {
        g.setColour (button.findColour (juce::TextEditor::focusedOutlineColourId));
        g.drawRect (0, 0, button.getWidth(), button.getHeight());
    }

    const int boxSize = juce::jmin (20, button.getHeight() - 4);
    const auto boxY = (float) ((button.getHeight() - boxSize) / 2);
    const bool isRadio = button.getRadioGroupId() > 0;

    if (isRadio)
        drawRadioBox (g, button, 4.0f, boxY, (float) boxSize, (float) boxSize, button.getToggleState(),
                      button.isEnabled(), shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
    else
        drawTickBox (g, button, 4.0f, boxY, (float) boxSize, (float) boxSize, button.getToggleState(),
                     button.isEnabled(), shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);

    g.setColour (button.findColour (juce::ToggleButton::textColourId));
    g.setFont (juce::Font (juce::jmin (15.0f, (float) button.getHeight() * 0.6f), juce::Font::plain));

    if (! button.isEnabled())
        g.setOpacity (0.5f);

    const int textX = boxSize + 5;
    g.drawFittedText (button.getButtonText(),
                      textX, 4, button.getWidth() - textX - 2, button.getHeight() - 8,
                      juce::Justification::centredLeft, 10, 0.7f);
}

void QuillonLookAndFeel::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float w, float h,
                                      bool ticked, bool isEnabled, bool, bool shouldDrawButtonAsDown)
{
    juce::Path tick;

    if (ticked)
    {
        tick.startNewSubPath (1.5f, 3.0f);
        tick.lineTo (3.0f, 6.0f);
        tick.lineTo (6.0f, 0.0f);
    }

    drawBoxInUnitSquare (g, { x, y, w, h }, isEnabled, shouldDrawButtonAsDown, tick, true);
}

void QuillonLookAndFeel::drawRadioBox (juce::Graphics& g, juce::Component&, float x, float y, float w, float h,
                                       bool ticked, bool isEnabled, bool, bool shouldDrawButtonAsDown)
{
    juce::Path dot;

    if (ticked)
        dot.addRoundedRectangle (1.5f, 3.5f, 3.0f, 3.0f, 0.8f);

    drawBoxInUnitSquare (g, { x, y, w, h }, isEnabled, shouldDrawButtonAsDown, dot, false);
}

// Boxes and marks are designed on a 9 x 9 grid; stroke widths scale with it.
void QuillonLookAndFeel::drawBoxInUnitSquare (juce::Graphics& g, juce::Rectangle<float> area, bool isEnabled,
                                              bool shouldDrawButtonAsDown, const juce::Path& mark, bool strokeMark)
{
    const auto toArea = juce::AffineTransform::scale (area.getWidth() / 9.0f, area.getHeight() / 9.0f)
                            .translated (area.getX(), area.getY());

    juce::Path box;
    box.addRoundedRectangle (0.0f, 2.0f, 6.0f, 6.0f, 1.0f);

    if (! isEnabled)
        g.setColour (Colour (boxFillDisabled));
    else
        g.setColour (Colour (shouldDrawButtonAsDown ? rimPressed : rim));

    g.fillPath (box, toArea);

    g.setColour (Colour (boxOutline));
    g.strokePath (box, juce::PathStrokeType (0.9f), toArea);

    if (mark.isEmpty())
        return;

    g.setColour (Colour (isEnabled ? markEnabled : markDisabled));

    if (strokeMark)
        g.strokePath (mark, juce::PathStrokeType (2.5f), toArea);
    else
        g.fillPath (mark, toArea);
}

void QuillonLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown,
                                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& box)
{
    LookAndFeel_V1::drawComboBox (g, width, height, isButtonDown, buttonX, buttonY, buttonW, buttonH, box);

    if (box.hasKeyboardFocus (false))
        drawFocusOutline (g, box, box.getLocalBounds().toFloat(), 0.0f);
}

void QuillonLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (editor.isReadOnly() && editor.isEnabled() && editor.hasKeyboardFocus (true))
        drawFocusOutline (g, editor, { (float) width, (float) height }, 0.0f);
    else
        LookAndFeel_V1::drawTextEditorOutline (g, width, height, editor);
}

void QuillonLookAndFeel::drawFocusOutline (juce::Graphics& g, juce::Component& component,
                                           juce::Rectangle<float> area, float cornerSize)
{
    constexpr float thickness = 2.0f;

    g.setColour (component.findColour (juce::TextEditor::focusedOutlineColourId));
    g.drawRoundedRectangle (area.reduced (thickness / 2.0f), cornerSize, thickness);
}
