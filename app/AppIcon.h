#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The application icon, rendered from the program's own vector drawing. */
struct AppIcon
{
    /** Renders the icon as a square ARGB image, size pixels wide (up to 256 looks sharp). */
    static juce::Image create (int size);
};
