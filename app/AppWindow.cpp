#include "app/AppWindow.h"

#include "app/AppIcon.h"

AppWindow::AppWindow (std::unique_ptr<juce::Component> content)
    : DocumentWindow ("Tesmar Quillon", juce::Colour (0xffd3d3d3), closeButton, true)
{
    // The native title bar goes first: switching to it later keeps the window's
    // outer size, which would stretch the content by the height of JUCE's own bar.
    setUsingNativeTitleBar (true);
    setTitleBarButtonsRequired (closeButton, false);
    setContentOwned (content.release(), true);
    centreWithSize (getWidth(), getHeight());
    setIcon (AppIcon::create (256));
    setResizable (false, false);

    // Activating the window then focuses its content (JUCE's default: the window itself,
    // where no key would reach the wizard).
    setWantsKeyboardFocus (false);
    setVisible (true);
    repaintPump = std::make_unique<RepaintPump> (*this);
}

void AppWindow::closeButtonPressed()
{
    juce::JUCEApplication::quit();
}
