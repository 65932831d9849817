#include <gtest/gtest.h>

#include "app/AppIcon.h"
#include "app/AppWindow.h"

TEST (AppWindow, ShowsItsContentAtAFixedSizeWithOnlyACloseButton)
{
    auto content = std::make_unique<juce::Component>();
    content->setSize (400, 272);
    auto* contentPointer = content.get();

    AppWindow window (std::move (content));

    EXPECT_EQ (window.getName(), "Tesmar Quillon");
    EXPECT_EQ (window.getContentComponent(), contentPointer);
    EXPECT_EQ (contentPointer->getWidth(), 400);
    EXPECT_EQ (contentPointer->getHeight(), 272);
    EXPECT_EQ (window.getBackgroundColour().getARGB(), 0xffd3d3d3u);
    EXPECT_TRUE (window.isVisible());
    EXPECT_TRUE (window.isUsingNativeTitleBar());
    EXPECT_FALSE (window.isResizable());

    const auto flags = window.getDesktopWindowStyleFlags();
    EXPECT_NE (flags & juce::ComponentPeer::windowHasCloseButton, 0);
    EXPECT_EQ (flags & juce::ComponentPeer::windowHasMinimiseButton, 0);
    EXPECT_EQ (flags & juce::ComponentPeer::windowHasMaximiseButton, 0);
    EXPECT_EQ (flags & juce::ComponentPeer::windowIsResizable, 0);
}

TEST (AppIcon, RendersTheDrawingAtTheRequestedSize)
{
    const auto icon = AppIcon::create (256);

    ASSERT_EQ (icon.getWidth(), 256);
    ASSERT_EQ (icon.getHeight(), 256);
    EXPECT_EQ (icon.getPixelAt (128, 128).getAlpha(), 0xff) << "the drawing was found and drawn";
    EXPECT_EQ (icon.getPixelAt (0, 0).getAlpha(), 0) << "rounded corners stay transparent";
}
