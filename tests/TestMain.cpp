#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// Components, change messages and modal loops need the message manager, and the
// tests run on its thread.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // JUCE sets up Xlib for threads and installs its X error handlers only in a
    // standalone application; without them a window on a display with no window
    // manager aborts the process on the first harmless X error.
    juce::JUCEApplicationBase::createInstance = [] () -> juce::JUCEApplicationBase* { return nullptr; };

    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
