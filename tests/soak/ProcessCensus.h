#pragma once

/** What this process holds of the system's resources, counted from /proc: whatever a
    run leaks of threads or open files shows here as a number that keeps growing.
*/
struct ProcessCensus
{
    int threads = 0;
    int openFiles = 0;

    static ProcessCensus take();

    /** Waits (bounded: a thread that has been joined may take a moment to leave the
        list) until the process holds no more than baseline; the census last taken.
    */
    static ProcessCensus settleTo (const ProcessCensus& baseline);
};
