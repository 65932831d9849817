#include "cli/LiveBoard.h"

#include "cli/TerminalText.h"

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

// One write for all the lines, so that no other output lands between them.
void LiveBoard::redraw()
{
    juce::String text;

    if (drawn)
        text << "\033[" << rows.size() << "A";

    for (int i = 0; i < rows.size(); ++i)
        text << "\r\033[K" << TerminalText::keepingLayout (lineOf (i)) << "\n";

    std::fputs (text.toRawUTF8(), stdout);
    std::fflush (stdout);
    drawn = true;
}

juce::String LiveBoard::lineOf (int index) const
{
    const auto percent = percents[index];
    const auto progress = percent < 0 ? juce::String::repeatedString (" ", 4) : (juce::String (percent) + "%").paddedLeft (' ', 4);
    return (progress + "  " + rows[index]->getLabel() + "  " + statuses[index]).substring (0, width);
}
