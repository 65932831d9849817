#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The message loop the wizard runs while a page is modal and its worker runs.

    Component::runModalLoop would do the same, except that JUCE's dispatch loop under
    it sleeps 1 ms whenever nothing is pending: every status text a worker hands over
    then waits for the sleep to end, and the worker waits with it. On a USB link, where
    a block's round trip takes about as long, that doubles the time of an update. This
    loop sleeps in the event loop's own wait instead, which any posted message, window
    event or timer ends at once; with nothing to do it waits without spinning.
*/
struct PageModalLoop
{
    /** Message thread. Dispatches until page leaves its modal state, and returns its
        modal result; returns 0 as soon as the application has been told to quit. The
        page must already be in its modal state.
    */
    static int run (juce::Component& page);
};
