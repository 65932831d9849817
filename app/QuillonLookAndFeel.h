#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's dark colour scheme: grey pages, white text, grey buttons with a
    faint blue rim and bluish tick and radio boxes. Everything not drawn here keeps
    LookAndFeel_V1's drawing with these colours.

    Used on the message thread only.
*/
class QuillonLookAndFeel : public juce::LookAndFeel_V1
{
public:
    QuillonLookAndFeel();
    ~QuillonLookAndFeel() override;

    /** Lets the text of a combo box squeeze horizontally, down to
        minimumComboBoxTextScale, before it is cut short: the boxes are narrow, and the
        end of a device's name ("waiting for update") is the part that matters.
    */
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawButtonText (juce::Graphics&, juce::TextButton&,
                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawToggleButton (juce::Graphics&, juce::ToggleButton&,
                           bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled,
                      bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    /** LookAndFeel_V1's list box, with the focus outline when it has the keyboard focus. */
    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;

    /** The focus outline also for read-only text, which can be focused to select and copy. */
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    /** Draws the box of a toggle button that belongs to a radio group: a dot where a
        tick box has its tick.
    */
    virtual void drawRadioBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                               bool ticked, bool isEnabled,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown);

    /** The narrowest a combo box's text may be squeezed, relative to its font's own
        width, and still be read easily.
    */
    static constexpr float minimumComboBoxTextScale = 0.6f;

    static constexpr juce::uint32 buttonBody = 0xff616161;
    static constexpr juce::uint32 buttonBodyPressed = 0xffa1a1a1;
    static constexpr juce::uint32 hoverWash = 0x20ffffff;
    static constexpr juce::uint32 rimPressed = 0x4c0000ff;
    static constexpr juce::uint32 rim = 0x1a0000ff;
    static constexpr juce::uint32 boxFillDisabled = 0x1ad3d3d3;
    static constexpr juce::uint32 boxOutline = 0xff6161a1;
    static constexpr juce::uint32 markEnabled = 0xffffffff;
    static constexpr juce::uint32 markDisabled = 0xff808080;

private:
    // The outline of the control with the keyboard focus, inside area; in the colour of
    // TextEditor::focusedOutlineColourId, as the tick boxes' outline.
    static void drawFocusOutline (juce::Graphics&, juce::Component&, juce::Rectangle<float> area, float cornerSize);

    void drawBoxInUnitSquare (juce::Graphics&, juce::Rectangle<float> area, bool isEnabled,
                              bool shouldDrawButtonAsDown, const juce::Path& mark, bool strokeMark);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillonLookAndFeel)
};
