#pragma once

#include "app/QuillonLookAndFeel.h"
#include "bench/TimedStatusReporter.h"
#include "device/TargetDevice.h"
#include "wizard/pages/ProgramDevicePage.h"

/** The wizard's programming step without the rest of the wizard: the programming page
    in its modal loop on the message thread while UpdateThread writes the image,
    reporting status through the page (timed on the way) and progress to it.

    Message thread only. Shown, the page is a window of its own on the desktop, drawn
    in the program's look and feel; otherwise it is never drawn.
*/
class ProgrammingOnPage
{
public:
    /** How the message thread waits while the page is modal. */
    enum class Loop
    {
        /** PageModalLoop, as the wizard runs it: the message thread sleeps in the event
            loop's own wait, which a posted text ends at once.
        */
        wizard,

        /** For comparison only: Component::runModalLoop. On Linux JUCE's dispatch loop
            under it sleeps 1 ms whenever nothing is pending, so a text posted meanwhile
            waits for the sleep to end.
        */
        juceModal
    };

    ProgrammingOnPage (bool shown, Loop loopToRun);
    ~ProgrammingOnPage();

    /** Runs one update of device from image to its end; true when it succeeded. */
    bool run (TargetDevice& device, const juce::MemoryBlock& image);

    /** The hand-overs of the status texts since it was made or last reset. */
    TimedStatusReporter& getStatusTimes() noexcept;

private:
    void runLoop();

    const Loop loop;
    QuillonLookAndFeel lookAndFeel;
    ProgramDevicePage page;
    TimedStatusReporter statusTimes { page };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgrammingOnPage)
};
