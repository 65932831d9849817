#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "app/RepaintPump.h"

/** The program's only top-level window: fixed size, native title bar with the
    close button only. It owns its content, the wizard, and closing it quits the
    application at once.
*/
class AppWindow : public juce::DocumentWindow
{
public:
    explicit AppWindow (std::unique_ptr<juce::Component> content);

    void closeButtonPressed() override;

private:
    // Shows the tooltips of the window's controls, such as a long choice in full.
    juce::TooltipWindow tooltipWindow;

    // Made once the window has its final peer (the native title bar replaces the first).
    std::unique_ptr<RepaintPump> repaintPump;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AppWindow)
};
