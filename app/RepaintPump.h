#pragma once

#include <optional>
#include <juce_gui_basics/juce_gui_basics.h>

/** Paints the program's windows where the system never reports a vertical blank.

    JUCE 7.0.5 on Windows hands what a window has marked as changed to the system only
    when DXGI reports the display's vertical blank. Where DXGI cannot wait for one (Wine
    answers that it is not implemented; a computer may also have no display output at
    all), nothing marked is ever painted: the pages would not change on screen, and a
    clicked button would stay down, since JUCE releases it only once it is painted.
    Until the first vertical blank reaches the window, this paints every window's marked
    changes itself, at about a display's rate; from then on JUCE's own timing is left
    alone. Where vertical blanks arrive (Linux, Windows with a display) it stops within
    a frame or two.

    Made, used and destroyed on the message thread, with the window it watches.
*/
class RepaintPump : private juce::Timer
{
public:
    explicit RepaintPump (juce::Component& window);
    ~RepaintPump() override;

private:
    static constexpr int frameMs = 16;

    void timerCallback() override;

    // Set by the attachment's callback, read by the timer: both on the message thread.
    bool vBlankArrived = false;
    std::optional<juce::VBlankAttachment> vBlank;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RepaintPump)
};
