#include "cli/Console.h"

#include "cli/Json.h"
#include "cli/Terminal.h"
#include "wizard/UpdateTexts.h"

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

    juce::String bodyOf (const RunOutcome& outcome)
    {
        return UpdateTexts::body (outcome.result, outcome.details, outcome.postInstructions);
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
        trace->status (text);

    const juce::ScopedLock lock (outputLock);
    status = text;

    if (style == Style::terminal)
        drawLiveLine();
    else if (stepsShown && style == Style::plain)
        write (text + "\n");
    else if (stepsShown)
        write (juce::JSON::toString (Json::object ({ { "status", text } }), true) + "\n");
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
        write (juce::JSON::toString (Json::object ({ { "progress", percent < 0 ? -1.0 : fraction } }), true) + "\n");
}

void Console::endStep()
{
    const juce::ScopedLock lock (outputLock);

    if (liveLineDrawn)
        write (stepsShown ? juce::String ("\n") : juce::String (clearLine));

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

void Console::printJson (const juce::var& value)
{
    print (juce::JSON::toString (value, stepsShown));
}

void Console::printOutcome (const RunOutcome& outcome)
{
    const auto header = UpdateTexts::caption (outcome.result) + " - " + UpdateTexts::description (outcome.result);
    const auto body = bodyOf (outcome);

    if (trace != nullptr)
        for (const auto& line : juce::StringArray { header, body, outcome.notes.joinIntoString (" ") })
            if (line.isNotEmpty())
                trace->status (line);

    if (isJson())
    {
        printJson (Json::object ({ { "outcome", toJson (outcome) } }));
        return;
    }

    print (header);

    if (body.isNotEmpty())
        print (body);

    for (const auto& note : outcome.notes)
        if (note.isNotEmpty())
            print (note);
}

juce::var Console::toJson (const RunOutcome& outcome)
{
    return Json::object ({ { "result", nameOf (outcome.result) },
                           { "caption", UpdateTexts::caption (outcome.result) },
                           { "description", UpdateTexts::description (outcome.result) },
                           { "body", bodyOf (outcome) },
                           { "notes", outcome.notes },
                           { "exitCode", (int) outcome.exitCode } });
}

void Console::drawLiveLine()
{
    auto line = juce::String (clearLine);

    if (progress >= 0.0)
        line << progressBar (progress) << "  ";

    write (line + status);
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
    std::fputs (text.toRawUTF8(), stdout);
    std::fflush (stdout);
}
