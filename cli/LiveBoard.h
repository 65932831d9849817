#pragma once

#include "cli/DeviceReporter.h"

/** Several devices' live lines on a terminal: one line per device (its label, its
    step's latest status and its percentage), all redrawn together in place whenever
    one changes, by moving the cursor back up over them. The cursor stays below the
    lines, so what is written once the workers have ended starts under them.

    Each line is cut to the terminal's width by the columns its characters take, so that
    none wraps and moves the lines below it out of the cursor's reach; a board with more
    lines than the terminal has rows, or on a terminal of no known size, cannot be
    redrawn so, and fits() says not to use one.

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

    /** Whether a board of rowCount lines can be kept in place on the terminal. */
    static bool fits (int rowCount);

private:
    class Row;

    void showStatus (int index, const juce::String& visibleStatus);
    void showPercent (int index, int percent);
    void redraw();
    juce::String lineOf (int index, int columns) const;

    juce::CriticalSection lock;

    // Guarded by lock: each row's visible status and percentage (-1: none), whether
    // the lines have been drawn once, so the cursor stands below them, and the width
    // they were cut to, kept should the terminal stop telling it.
    juce::StringArray statuses;
    juce::Array<int> percents;
    bool drawn = false;
    int columns = 80;

    // Made before the workers start and kept until the board goes.
    juce::OwnedArray<Row> rows;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LiveBoard)
};
