#pragma once

#include <juce_core/juce_core.h>

/** Receives the status texts of a long step (fetching the targets file, scanning,
    downloading, programming) for the page that shows that step.

    Workers hold a borrowed pointer to their reporter, which may be null; every
    call site tests for that.
*/
class StatusReporter
{
public:
    virtual ~StatusReporter() = default;

    /** Called from any thread: the worker threads and the message thread itself.

        An implementation shows the text on the message thread and returns once it is
        there (at once when called on the message thread), so a worker continues only
        after its text is on the page. It must not keep a worker that has been told to
        exit waiting for the message thread.
    */
    virtual void reportStatus (const juce::String& text) = 0;
};
