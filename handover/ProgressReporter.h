#pragma once

/** Receives how far the programming step has got, for the page's progress bar. */
class ProgressReporter
{
public:
    virtual ~ProgressReporter() = default;

    /** Called from the update worker thread, never waits.

        fraction runs from 0 to 1; -1.0 means activity without a known fraction. An
        implementation only stores the value, in one indivisible store (an atomic
        double), for the progress bar to read on the message thread.
    */
    virtual void reportProgress (double fraction) = 0;
};
