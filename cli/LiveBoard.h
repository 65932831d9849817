#pragma once

#include "cli/DeviceReporter.h"

/** Several devices' live lines on a terminal: one line per device (its label, its
    step's latest status and its percentage), all redrawn together in place whenever
    one changes, by moving the cursor back up over them. The cursor stays below the
    lines, so what is written once the workers have ended starts under them.

    Each line is cut to a width that fits a terminal of 80 columns, so that none wraps
    and moves the lines below it out of the cursor's reach.

    Any thread: each device's workers report through its row; lock keeps the lines
    whole and drawn in one piece.
*/
class LiveBoard
{
public:
    LiveBoard();
    ~LiveBoard();

    /** Main thread, before any worker starts: a row for the device labelled label,
        below the others. The board owns it.
    */
    DeviceReporter& addRow (Console& console, const juce::String& label);

    static constexpr int width = 79;

private:
    class Row;

    void showStatus (int index, const juce::String& visibleStatus);
    void showPercent (int index, int percent);
    void redraw();
    juce::String lineOf (int index) const;

    juce::CriticalSection lock;

    // Guarded by lock: each row's visible status and percentage (-1: none), and
    // whether the lines have been drawn once, so the cursor stands below them.
    juce::StringArray statuses;
    juce::Array<int> percents;
    bool drawn = false;

    // Made before the workers start and kept until the board goes.
    juce::OwnedArray<Row> rows;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LiveBoard)
};
