#include "cli/LiveBoard.h"

#include "cli/Terminal.h"
#include "cli/TerminalText.h"
#include "cli/TextColumns.h"

#include <cstdio>

class LiveBoard::Row final : public DeviceReporter
{
public:
    Row (Console& consoleToUse, const juce::String& labelToShow, LiveBoard& boardToDrawOn, int indexOnBoard)
        : DeviceReporter (consoleToUse, labelToShow),
          board (boardToDrawOn),
          index (indexOnBoard)
    {
    }

    const juce::String& getLabel() const noexcept { return label; }

private:
    void showStatus (const juce::String& text) override
    {
        board.showStatus (index, TerminalText::visible (text));
    }

    void showProgress (int percent, double) override
    {
        board.showPercent (index, percent);
    }

    LiveBoard& board;
    const int index;
};

LiveBoard::LiveBoard() = default;
LiveBoard::~LiveBoard() = default;

DeviceReporter& LiveBoard::addRow (Console& console, const juce::String& label)
{
    const juce::ScopedLock scope (lock);
    statuses.add ({});
    percents.add (-1);
    return *rows.add (std::make_unique<Row> (console, label, *this, rows.size()));
}

void LiveBoard::showStatus (int index, const juce::String& visibleStatus)
{
    const juce::ScopedLock scope (lock);
    statuses.set (index, visibleStatus);
    redraw();
}

void LiveBoard::showPercent (int index, int percent)
{
    const juce::ScopedLock scope (lock);
    percents.set (index, percent);
    redraw();
}

bool LiveBoard::fits (int rowCount)
{
    const auto size = Terminal::outputSize();
    return size.has_value() && rowCount < size->rows;
}

// One write for all the lines, so that no other output lands between them.
void LiveBoard::redraw()
{
    if (const auto size = Terminal::outputSize())
        columns = size->columns;

    juce::String text;

    if (drawn)
        text << "\033[" << rows.size() << "A";

    // A line that filled the last column would leave the cursor waiting to wrap there.
    for (int i = 0; i < rows.size(); ++i)
        text << "\r\033[K" << TerminalText::keepingLayout (lineOf (i, columns - 1)) << "\n";

    std::fputs (text.toRawUTF8(), stdout);
    std::fflush (stdout);
    drawn = true;
}

juce::String LiveBoard::lineOf (int index, int width) const
{
    const auto percent = percents[index];
    const auto progress = percent < 0 ? juce::String::repeatedString (" ", 4) : (juce::String (percent) + "%").paddedLeft (' ', 4);
    return TextColumns::cut (progress + "  " + rows[index]->getLabel() + "  " + statuses[index], width);
}
