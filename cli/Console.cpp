#include "cli/Console.h"

#include "cli/Json.h"
#include "cli/Terminal.h"
#include "cli/TerminalText.h"
#include "cli/TextColumns.h"
#include "flow/UpdateTexts.h"

#include <cstdio>

namespace
{
    const char* nameOf (UpdateResult result)
    {
        switch (result)
        {
            case UpdateResult::UpdateFailed:       return "updateFailed";
            case UpdateResult::UpdateSucceeded:    return "updateSucceeded";
            case UpdateResult::NoDevicesFound:     return "noDevicesFound";
            case UpdateResult::NoUpdatesFound:     return "noUpdatesFound";
            case UpdateResult::UnableToConnect:    return "unableToConnect";
            case UpdateResult::InvalidTargetsFile: return "invalidTargetsFile";
            case UpdateResult::UpdateCancelled:    return "updateCancelled";
        }

        return "";
    }

    juce::String bodyOf (const UpdateOutcome& outcome)
    {
        return UpdateTexts::body (outcome.getResultsPage(), outcome.details, outcome.postInstructions);
    }

    // Erases the terminal's current line and returns to its start.
    constexpr const char* clearLine = "\r\033[K";
}

Console::Console (Style styleToUse, bool showSteps, MidiTrace* traceToWrite)
    : style (styleToUse),
      stepsShown (showSteps),
      trace (traceToWrite)
{
}

Console::Style Console::styleFor (bool json)
{
    if (json)
        return Style::json;

    return Terminal::outputIsTerminal() ? Style::terminal : Style::plain;
}

void Console::reportStatus (const juce::String& text)
{
    if (trace != nullptr)
        trace->status (TerminalText::visible (text));

    const juce::ScopedLock lock (outputLock);
    status = text;

    if (style == Style::terminal)
        drawLiveLine();
    else if (stepsShown && style == Style::plain)
        write (TerminalText::visible (text) + "\n");
    else if (stepsShown)
        write (Json::toString (Json::object ({ { "status", text } }), true) + "\n");
}

void Console::reportProgress (double fraction)
{
    const juce::ScopedLock lock (outputLock);
    progress = fraction;

    // Every block moves the progress a little; a line is worth printing only when the
    // whole percentage changes.
    const int percent = fraction < 0.0 ? -1 : juce::roundToInt (fraction * 100.0);

    if (percent == lastPercent)
        return;

    lastPercent = percent;

    if (style == Style::terminal)
        drawLiveLine();
    else if (stepsShown && style == Style::plain && percent >= 0)
        write (juce::String (percent) + "%\n");
    else if (stepsShown && style == Style::json)
        write (Json::toString (Json::object ({ { "progress", percent < 0 ? -1.0 : fraction } }), true) + "\n");
}

void Console::endStep()
{
    const juce::ScopedLock lock (outputLock);

    if (liveLineDrawn)
        writeControl (stepsShown ? "\n" : clearLine);

    liveLineDrawn = false;
    status.clear();
    progress = -1.0;
    lastPercent = -1;
}

void Console::print (const juce::String& text)
{
    const juce::ScopedLock lock (outputLock);
    write (text.endsWithChar ('\n') ? text : text + "\n");
}

void Console::traceStatus (const juce::String& text)
{
    if (trace != nullptr)
        trace->status (text);
}

void Console::printJson (const juce::var& value)
{
    print (Json::toString (value, stepsShown));
}

void Console::printOutcome (const UpdateOutcome& outcome)
{
    const auto page = outcome.getResultsPage();
    const auto header = UpdateTexts::caption (page) + " - " + UpdateTexts::description (page);
    const auto body = visibleBodyOf (outcome);
    juce::StringArray notes;

    // Each note is one line, and may quote what the user typed.
    for (const auto& note : outcome.notes)
        if (note.isNotEmpty())
            notes.add (TerminalText::visible (note));

    if (trace != nullptr)
        for (const auto& line : juce::StringArray { header, body, notes.joinIntoString (" ") })
            if (line.isNotEmpty())
                trace->status (TerminalText::keepingLayout (line));

    if (isJson())
    {
        printJson (Json::object ({ { "outcome", toJson (outcome) } }));
        return;
    }

    print (header);

    if (body.isNotEmpty())
        print (body);

    for (const auto& note : notes)
        print (note);
}

// The details and the instructions come from outside (a device's error, a server's
// answer, the catalogue); the other bodies are the client's own, laid out over lines.
juce::String Console::visibleBodyOf (const UpdateOutcome& outcome)
{
    return UpdateTexts::body (outcome.getResultsPage(), TerminalText::visible (outcome.details),
                              TerminalText::visible (outcome.postInstructions));
}

void Console::printError (const juce::String& message)
{
    std::fputs (("quillon-cli: " + TerminalText::keepingLayout (message) + "\n").toRawUTF8(), stderr);
    std::fflush (stderr);
}

juce::var Console::toJson (const UpdateOutcome& outcome)
{
    const auto page = outcome.getResultsPage();
    return Json::object ({ { "result", nameOf (page) },
                           { "caption", UpdateTexts::caption (page) },
                           { "description", UpdateTexts::description (page) },
                           { "body", bodyOf (outcome) },
                           { "notes", outcome.notes },
                           { "exitCode", (int) exitCodeFor (outcome.end) } });
}

void Console::drawLiveLine()
{
    juce::String line;

    if (progress >= 0.0)
        line << progressBar (progress) << "  ";

    line << TerminalText::visible (status);

    // A line that wrapped could not be erased by the next drawing.
    if (const auto size = Terminal::outputSize())
        line = TextColumns::cut (line, size->columns - 1);

    writeControl (clearLine);
    write (line);
    liveLineDrawn = true;
}

juce::String Console::progressBar (double fraction)
{
    constexpr int width = 30;
    const int filled = juce::jlimit (0, width, juce::roundToInt (fraction * width));
    const int percent = juce::jlimit (0, 100, juce::roundToInt (fraction * 100.0));

    return "[" + juce::String::repeatedString ("#", filled) + juce::String::repeatedString ("-", width - filled) + "] "
           + juce::String (percent).paddedLeft (' ', 3) + "%";
}

void Console::write (const juce::String& text)
{
    std::fputs (TerminalText::keepingLayout (text).toRawUTF8(), stdout);
    std::fflush (stdout);
}

void Console::writeControl (const char* sequence)
{
    std::fputs (sequence, stdout);
    std::fflush (stdout);
}
