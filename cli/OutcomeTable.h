#pragma once

#include "cli/Console.h"
#include "device/TargetDevice.h"

/** How an update of several devices ended: a table of the devices, each with the
    version it was to get and the caption of its results page, and below each row that
    page's body and the notes (where the device was left, whether its flash holds the
    image); or, with JSON, one object a line per device and a summary line. Main thread.
*/
class OutcomeTable
{
public:
    struct Row
    {
        const TargetDevice* device = nullptr;
        int number = 0;
        juce::String version;
        UpdateOutcome outcome;
    };

    explicit OutcomeTable (Console& console);

    void add (const Row& row);

    /** Prints the table, or the JSON lines, and returns the exit code: the worst of
        the devices' (see worstOf).
    */
    ExitCode print();

    /** The highest code, except that a cancel (8) ranks below every failure: a run
        stopped after one device failed must not read as merely stopped. So 7 (an update
        failed) before 6 (a download failed) before 8 before 0.
    */
    static ExitCode worstOf (const juce::Array<ExitCode>& codes);

private:
    void printText();
    void printJson (ExitCode worst);

    Console& console;
    juce::Array<Row> rows;
};
