#include "app/AppWindow.h"

#include "app/AppIcon.h"

AppWindow::AppWindow (std::unique_ptr<juce::Component> content)
    : DocumentWindow ("Tesmar Quillon", juce::Colour (0xffd3d3d3), closeButton, true)
{
    setContentOwned (content.release(), true);
    centreWithSize (getWidth(), getHeight());
    setTitleBarButtonsRequired (closeButton, false);
    setUsingNativeTitleBar (true);
    setIcon (AppIcon::create (256));
    setResizable (false, false);
    setVisible (true);
}

void AppWindow::closeButtonPressed()
{
    juce::JUCEApplication::quit();
}
