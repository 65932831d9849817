#include "cli/Confirmation.h"

#include "cli/InterruptFlag.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <poll.h>
#include <unistd.h>

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
            pollfd input { STDIN_FILENO, POLLIN, 0 };

            const auto ready = poll (&input, 1, pollMs);

            if (ready == 0 || (ready < 0 && errno == EINTR))
                continue;

            char c = 0;

            if (ready < 0 || read (STDIN_FILENO, &c, 1) != 1 || c == '\n')
                return line.toString();

            line.writeByte (c);
        }

        return std::nullopt;
    }
}

bool Confirmation::canAsk()
{
    return isatty (STDIN_FILENO) != 0;
}

Confirmation::Answer Confirmation::ask (const juce::String& question, bool toStandardError)
{
    auto* stream = toStandardError ? stderr : stdout;
    std::fputs ((question + " [y/N] ").toRawUTF8(), stream);
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
