#include "cli/Confirmation.h"

#include "cli/Console.h"
#include "cli/InterruptFlag.h"
#include "cli/Terminal.h"
#include "cli/TerminalText.h"

#include <cstdio>
#include <optional>

namespace
{
    constexpr int pollMs = 100;

    // Reads up to the end of the line, waking up regularly to see whether Ctrl-C came:
    // the signal may reach another thread and leave a blocking read waiting.
    std::optional<juce::String> readLine()
    {
        juce::MemoryOutputStream line;

        while (! InterruptFlag::isRaised())
        {
            if (! Terminal::waitForInput (pollMs))
                continue;

            const auto c = Terminal::readByte();

            if (c < 0 || c == '\n')
                return line.toString();

            line.writeByte ((char) c);
        }

        return std::nullopt;
    }
}

bool Confirmation::canAsk()
{
    return Terminal::inputIsTerminal();
}

bool Confirmation::refuseWithoutTerminal()
{
    if (canAsk())
        return false;

    Console::printError ("standard input is not a terminal, so there is nobody to ask for confirmation;"
                         " give --yes to update without asking");
    return true;
}

Confirmation::Answer Confirmation::ask (const juce::String& question, bool toStandardError)
{
    auto* stream = toStandardError ? stderr : stdout;
    std::fputs (TerminalText::keepingLayout (question + " [y/N] ").toRawUTF8(), stream);
    std::fflush (stream);

    const auto answer = readLine();

    if (! answer.has_value())
    {
        // What follows starts on a line of its own, not after the question.
        std::fputs ("\n", stream);
        return Answer::interrupted;
    }

    const auto word = answer->trim().toLowerCase();
    return word == "y" || word == "yes" ? Answer::yes : Answer::no;
}
