#include "cli/OutcomeTable.h"

#include "cli/DeviceReporter.h"
#include "cli/Json.h"
#include "cli/JsonDeviceLines.h"
#include "cli/TerminalText.h"
#include "flow/UpdateTexts.h"

#include <algorithm>
#include <numeric>

namespace
{
    // The higher code, except that a cancel ranks below every failure.
    int severityOf (ExitCode code)
    {
        return code == ExitCode::cancelled ? 1 : 2 * (int) code;
    }

    constexpr const char* indent = "    ";
}

OutcomeTable::OutcomeTable (Console& consoleToUse)
    : console (consoleToUse)
{
}

void OutcomeTable::add (const Row& row)
{
    rows.add (row);
}

ExitCode OutcomeTable::worstOf (const juce::Array<ExitCode>& codes)
{
    auto worst = ExitCode::success;

    for (const auto code : codes)
        if (severityOf (code) > severityOf (worst))
            worst = code;

    return worst;
}

ExitCode OutcomeTable::print()
{
    juce::Array<ExitCode> codes;

    for (const auto& row : rows)
    {
        codes.add (exitCodeFor (row.outcome.end));
        console.traceStatus ("[" + DeviceReporter::labelOf (*row.device, row.number) + "] "
                             + UpdateTexts::caption (row.outcome.getResultsPage()));
    }

    const auto worst = worstOf (codes);

    if (console.isJson())
        printJson (worst);
    else
        printText();

    return worst;
}

void OutcomeTable::printText()
{
    juce::StringArray labels { "Device" };
    juce::StringArray versions { "Version" };
    juce::StringArray captions { "Outcome" };

    for (const auto& row : rows)
    {
        labels.add (DeviceReporter::labelOf (*row.device, row.number));
        versions.add (TerminalText::visible (row.version));
        captions.add (UpdateTexts::caption (row.outcome.getResultsPage()));
    }

    const auto widthOf = [] (const juce::StringArray& column)
    {
        return std::accumulate (column.begin(), column.end(), 0, [] (int w, const juce::String& s) { return std::max (w, s.length()); });
    };

    const auto labelWidth = widthOf (labels) + 2;
    const auto versionWidth = widthOf (versions) + 2;

    for (int i = 0; i <= rows.size(); ++i)
    {
        console.print (labels[i].paddedRight (' ', labelWidth) + versions[i].paddedRight (' ', versionWidth) + captions[i]);

        if (i == 0)
            continue;

        const auto& outcome = rows.getReference (i - 1).outcome;
        juce::StringArray below;
        below.addLines (Console::visibleBodyOf (outcome));

        for (const auto& note : outcome.notes)
            below.add (TerminalText::visible (note));

        below.removeEmptyStrings();

        for (const auto& line : below)
            console.print (indent + line);
    }
}

void OutcomeTable::printJson (ExitCode worst)
{
    int succeeded = 0;

    for (const auto& row : rows)
    {
        console.printJson (Json::object ({ { "device", JsonDeviceLines::deviceToJson (*row.device, row.number) },
                                           { "version", row.version },
                                           { "outcome", Console::toJson (row.outcome) } }));
        succeeded += row.outcome.end == UpdateEnd::succeeded ? 1 : 0;
    }

    console.printJson (Json::object ({ { "summary", Json::object ({ { "devices", rows.size() },
                                                                    { "succeeded", succeeded },
                                                                    { "exitCode", (int) worst } }) } }));
}
